#pragma once
// The registry: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE as ".reg" hive files, read and
// changed under a lock and replaced atomically, so several processes can write at once.
// A hive file that does not parse makes every operation on it fail and is never overwritten.
#include "RegistryHive.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using LONG = std::int32_t;
using DWORD = std::uint32_t;
using BYTE = unsigned char;
using REGSAM = std::uint32_t;

struct RegistryKeyHandle;
using HKEY = RegistryKeyHandle*;

extern const HKEY HKEY_CURRENT_USER;
extern const HKEY HKEY_LOCAL_MACHINE;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;
constexpr LONG ERROR_BADDB = 1009;  // the hive file does not parse
constexpr LONG ERROR_WRITE_FAULT = 29;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Opens an existing key; never creates one.
LONG RegOpenKeyExW(HKEY key, const wchar_t* subKey, DWORD options, REGSAM access, HKEY* result);
// Opens the key, creating it and its parents when missing.
LONG RegCreateKeyExW(HKEY key, const wchar_t* subKey, REGSAM access, HKEY* result, DWORD* disposition = nullptr);
LONG RegCloseKey(HKEY key);

// REG_SZ data are UTF-16LE bytes; a read gives the text and its terminator, 2 × (characters
// + 1) bytes. A buffer that is too small gives ERROR_MORE_DATA with the size needed. A null
// or empty name stands for the key's unnamed default value.
LONG RegQueryValueExW(HKEY key, const wchar_t* valueName, DWORD* type, BYTE* data, DWORD* dataSize);
LONG RegSetValueExW(HKEY key, const wchar_t* valueName, DWORD type, const BYTE* data, DWORD dataSize);
LONG RegDeleteValueW(HKEY key, const wchar_t* valueName);
// Deletes the subkey (the key itself when subKey is null or empty) and everything below it.
LONG RegDeleteTreeW(HKEY key, const wchar_t* subKey);
// The values of the key, in the hive's order.
LONG RegListValues(HKEY key, std::vector<RegistryValue>& values);

// The bytes of a REG_SZ value: the text as UTF-16LE with its terminating zero unit.
std::vector<BYTE> RegStringBytes(std::wstring_view text);
// The text of REG_SZ bytes, up to the first zero unit (or their end).
std::wstring RegStringFromBytes(const BYTE* data, DWORD size);

// Where a hive is kept: $XDG_CONFIG_HOME/tidewell/HKEY_CURRENT_USER.reg, and
// <first of $XDG_CONFIG_DIRS>/tidewell/HKEY_LOCAL_MACHINE.reg.
std::string RegistryHivePath(HKEY root);

}  // namespace platform
