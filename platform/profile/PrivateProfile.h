#pragma once

#include <string>
#include <unordered_map>

// INI files read and written the way the programs' callers rely on: the file is read on every
// call (nothing cached, so writers in other objects or processes are seen at once), section
// and key names match without regard to ASCII case, a missing file, section or key yields the
// default, and a value is cut to the caller's buffer size less one byte.

// Value of key in section, or default_value when absent; at most max_bytes - 1 bytes, cut on a
// UTF-8 character boundary. Surrounding blanks and one pair of matching quotes are removed.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& default_value, std::size_t max_bytes,
                                    const std::string& path);

// One section of an INI file read at once, for a caller that asks for many of its keys: each
// answer is the one GetPrivateProfileString gives for the file as it was when read, and the
// whole read costs one pass over the file however many keys are asked.
class PrivateProfileSection {
public:
    PrivateProfileSection(const std::string& section, const std::string& path);

    std::string GetString(const std::string& key, const std::string& default_value,
                          std::size_t max_bytes) const;

private:
    std::unordered_map<std::string, std::string> values_;  // by key in ASCII lower case
};

// Integer value of key, parsed as the Windows function does: leading blanks, an optional sign,
// a 0x/0o/0b base prefix, then digits up to the first that does not fit the base; a value
// without digits reads 0; a missing or empty value gives default_value.
int GetPrivateProfileInt(const std::string& section, const std::string& key, int default_value,
                         const std::string& path);

// Sets key = value in section, adding the section or key where missing. Refuses a line break,
// and a name the reader would not find again (blank-edged; a key starting with ';' or '[' or
// holding '='; a section holding ']'). Creates a missing file but not a missing folder (false
// then); refuses a read-only file; writes a symbolic link's target. The file is read, changed
// and replaced as one step (UpdateFile), so a crash mid-write leaves either the old or the new
// file, and writers in several processes lose no key.
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path);
