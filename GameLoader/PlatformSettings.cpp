#include "PlatformSettings.h"

#include "GameCode.h"
#include "Directories.h"
#include "FileIO.h"
#include "Text.h"
#include "XmlSafety.h"

#include <tinyxml.h>

namespace {

constexpr char kRootName[] = "settings";
constexpr char kWindowIdKey[] = "twwindowid";
constexpr char kLoginSourceKey[] = "loginsource";
// A settings file is a few lines; anything this large is not one.
constexpr std::size_t kMaxSettingsBytes = 4u << 20;

// Line ends are normalised as the XML library does when it reads a file itself.
std::string NormaliseLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool LoadDocument(const std::string& path, TiXmlDocument& document) {
    std::string text;
    if (!platform::ReadFileBounded(path, kMaxSettingsBytes, text)) return false;
    if (platform::MaxElementNesting(text) > platform::kMaxXmlNesting) return false;
    document.Parse(platform::PaddedForXmlParser(NormaliseLineEnds(text)).c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    return !document.Error();
}

bool WriteSetting(const char* key, const std::wstring& value, const std::wstring& path) {
    const std::string narrowPath = platform::WideToMultiByte(platform::CP_ACP, path);
    TiXmlDocument document;
    TiXmlElement* root = nullptr;
    if (!platform::PathFileExistsW(path)) {
        root = new TiXmlElement(kRootName);
        document.LinkEndChild(root);
    } else {
        if (!LoadDocument(narrowPath, document)) return false;
        root = document.RootElement();
        if (root == nullptr) return false;
    }
    TiXmlElement* element = root->FirstChildElement(key);
    if (element != nullptr) {
        element->Clear();
    } else {
        element = new TiXmlElement(key);
        root->LinkEndChild(element);
    }
    element->LinkEndChild(new TiXmlText(platform::WideToUtf8(value)));
    // Saved through a temporary file, so an interrupted save never leaves a broken file.
    return platform::WriteFileAtomically(narrowPath, [&](std::FILE* file) { return document.SaveFile(file); });
}

bool ReadSetting(const char* key, const std::wstring& path, std::wstring& output) {
    TiXmlDocument document;
    if (!LoadDocument(platform::WideToMultiByte(platform::CP_ACP, path), document)) return false;
    TiXmlElement* root = document.RootElement();
    if (root == nullptr) return false;
    TiXmlElement* element = root->FirstChildElement(key);
    if (element == nullptr) return false;
    const TiXmlNode* first = element->FirstChild();
    if (first != nullptr && first->ToText() != nullptr && first->Value() != nullptr) {
        output = platform::Utf8ToWide(first->Value());
    }
    return true;
}

}  // namespace

std::wstring SettingsPath() {
    const std::wstring folder = platform::GetLocalAppDataDir() + platform::kPathSeparator + kPlatformFolder;
    if (!platform::PathFileExistsW(folder)) platform::CreateDirectoryW(folder);
    return folder + platform::kPathSeparator + L"setting.xml";
}

bool SetPlatformWindowId(const std::wstring& value, const std::wstring& path) {
    return WriteSetting(kWindowIdKey, value, path);
}

bool GetPlatformWindowId(const std::wstring& path, std::wstring& output) {
    return ReadSetting(kWindowIdKey, path, output);
}

bool SetLoginSource(const std::wstring& value, const std::wstring& path) {
    return WriteSetting(kLoginSourceKey, value, path);
}

bool GetLoginSource(const std::wstring& path, std::wstring& output) {
    return ReadSetting(kLoginSourceKey, path, output);
}
