// Files of the settings tests, written so that the platform's profile
// functions notice every change.
#pragma once

#include <string>
#include <vector>

namespace settings_test {

// Writes the bytes and gives the file a write time of its own: the
// profile functions may keep a file's content while its time is unchanged,
// and two writes within one clock tick would look alike.
void WriteFresh(const std::wstring& path, const std::string& bytes);

// config.ini in the application folder.
std::wstring ConfigPath();
void WriteConfig(const std::string& bytes);
std::string ConfigBytes();
void RemoveConfig();

// Bytes of a file as another program reads them, letting Save rename over
// it; "<not opened>" when it cannot be opened.
std::string ReadShared(const std::wstring& path);

// The names in the application folder that start with "config.ini".
std::vector<std::wstring> ConfigFiles();

// Skin\<name>.she in the application folder, with a little content.
std::wstring MakeSkin(const std::wstring& baseName);

}  // namespace settings_test
