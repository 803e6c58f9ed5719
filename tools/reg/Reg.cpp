// Reads and changes the registry hives, in the manner of the Windows reg command.
//
//   reg query KEY [/v NAME | /ve]
//   reg add KEY [/v NAME | /ve] [/t REG_SZ|REG_DWORD] [/d DATA] [/f]
//   reg delete KEY [/v NAME | /ve] [/f]
//
// KEY begins with HKCU\ or HKLM\ (or the full root names).
#include "Registry.h"
#include "Text.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

using namespace platform;

namespace {

struct Command {
    std::string verb;
    HKEY root = nullptr;
    std::string rootName;
    std::wstring subKey;
    std::optional<std::wstring> valueName;  // set by /v or /ve (empty)
    DWORD type = REG_SZ;
    std::wstring data;
};

int Usage() {
    std::fputs("usage: reg query KEY [/v NAME | /ve]\n"
               "       reg add KEY [/v NAME | /ve] [/t REG_SZ|REG_DWORD] [/d DATA] [/f]\n"
               "       reg delete KEY [/v NAME | /ve] [/f]\n",
               stderr);
    return 2;
}

int Fail(LONG status) {
    if (status == ERROR_FILE_NOT_FOUND) {
        std::fputs("ERROR: The system was unable to find the specified registry key or value.\n", stderr);
    } else if (status == ERROR_BADDB) {
        std::fputs("ERROR: The registry hive file is damaged; it was left as it is.\n", stderr);
    } else if (status == ERROR_ACCESS_DENIED) {
        std::fputs("ERROR: Access is denied.\n", stderr);
    } else {
        std::fprintf(stderr, "ERROR: The operation failed (%d).\n", status);
    }
    return 1;
}

bool SplitKey(const std::string& key, Command& command) {
    const std::size_t slash = key.find('\\');
    const std::string root = key.substr(0, slash);
    if (root == "HKCU" || root == "HKEY_CURRENT_USER") {
        command.root = HKEY_CURRENT_USER;
        command.rootName = "HKEY_CURRENT_USER";
    } else if (root == "HKLM" || root == "HKEY_LOCAL_MACHINE") {
        command.root = HKEY_LOCAL_MACHINE;
        command.rootName = "HKEY_LOCAL_MACHINE";
    } else {
        return false;
    }
    command.subKey = slash == std::string::npos ? L"" : AnsiToWide(key.substr(slash + 1));
    return true;
}

std::optional<Command> Parse(int argc, char** argv) {
    if (argc < 3) return std::nullopt;
    Command command;
    command.verb = argv[1];
    if (!SplitKey(argv[2], command)) return std::nullopt;
    for (int i = 3; i < argc; ++i) {
        const std::string_view option = argv[i];
        const bool hasArgument = i + 1 < argc;
        if (option == "/v" && hasArgument) {
            command.valueName = AnsiToWide(argv[++i]);
        } else if (option == "/ve") {
            command.valueName = L"";
        } else if (option == "/t" && hasArgument) {
            const std::string_view type = argv[++i];
            if (type == "REG_SZ") {
                command.type = REG_SZ;
            } else if (type == "REG_DWORD") {
                command.type = REG_DWORD;
            } else {
                return std::nullopt;
            }
        } else if (option == "/d" && hasArgument) {
            command.data = AnsiToWide(argv[++i]);
        } else if (option != "/f") {
            return std::nullopt;
        }
    }
    return command;
}

void PrintValue(const RegistryValue& value) {
    const std::string name = value.name.empty() ? "(Default)" : WideToMultiByte(CP_ACP, value.name);
    if (value.type == REG_DWORD) {
        std::printf("    %s    REG_DWORD    0x%x\n", name.c_str(), value.number);
    } else {
        std::printf("    %s    REG_SZ    %s\n", name.c_str(), WideToMultiByte(CP_ACP, value.text).c_str());
    }
}

int Query(const Command& command) {
    HKEY key = nullptr;
    if (const LONG status = RegOpenKeyExW(command.root, command.subKey.c_str(), 0, KEY_READ, &key); status != ERROR_SUCCESS) {
        return Fail(status);
    }
    std::vector<RegistryValue> values;
    const LONG status = RegListValues(key, values);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return Fail(status);
    bool found = !command.valueName.has_value();
    std::printf("\n%s%s%s\n", command.rootName.c_str(), command.subKey.empty() ? "" : "\\",
                WideToMultiByte(CP_ACP, command.subKey).c_str());
    for (const RegistryValue& value : values) {
        if (command.valueName && FoldRegistryName(value.name) != FoldRegistryName(*command.valueName)) continue;
        PrintValue(value);
        found = true;
    }
    std::puts("");
    return found ? 0 : Fail(ERROR_FILE_NOT_FOUND);
}

std::optional<std::vector<BYTE>> DataBytes(const Command& command) {
    std::vector<BYTE> bytes;
    if (command.type == REG_DWORD) {
        const std::string text = WideToUtf8(command.data);
        const bool hex = text.starts_with("0x") || text.starts_with("0X");
        const char* begin = text.c_str() + (hex ? 2 : 0);
        DWORD number = 0;
        const auto [end, error] = std::from_chars(begin, text.c_str() + text.size(), number, hex ? 16 : 10);
        if (!text.empty() && (error != std::errc() || end != text.c_str() + text.size())) return std::nullopt;
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<BYTE>(number >> (8 * i)));
        return bytes;
    }
    return RegStringBytes(command.data);
}

int Add(const Command& command) {
    const std::optional<std::vector<BYTE>> bytes = DataBytes(command);
    if (!bytes) return Usage();
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(command.root, command.subKey.c_str(), KEY_ALL_ACCESS, &key);
    if (status == ERROR_SUCCESS && command.valueName) {
        status = RegSetValueExW(key, command.valueName->c_str(), command.type, bytes->data(),
                                static_cast<DWORD>(bytes->size()));
    }
    if (key != nullptr) RegCloseKey(key);
    if (status != ERROR_SUCCESS) return Fail(status);
    std::puts("The operation completed successfully.");
    return 0;
}

int Delete(const Command& command) {
    LONG status;
    if (command.valueName) {
        HKEY key = nullptr;
        status = RegOpenKeyExW(command.root, command.subKey.c_str(), 0, KEY_ALL_ACCESS, &key);
        if (status == ERROR_SUCCESS) {
            status = RegDeleteValueW(key, command.valueName->c_str());
            RegCloseKey(key);
        }
    } else {
        status = RegDeleteTreeW(command.root, command.subKey.c_str());
    }
    if (status != ERROR_SUCCESS) return Fail(status);
    std::puts("The operation completed successfully.");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    InitProcessLocale();
    const std::optional<Command> command = Parse(argc, argv);
    if (!command) return Usage();
    if (command->verb == "query") return Query(*command);
    if (command->verb == "add") return Add(*command);
    if (command->verb == "delete") return Delete(*command);
    return Usage();
}
