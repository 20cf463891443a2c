// What a skin consists of: the names of its 21 pictures, and the reading of one value of its
// Config.ini.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kv {

inline constexpr char kSkinDefinitionFile[] = "Config.ini";
inline constexpr char kSkinSection[] = "main";
inline constexpr char kBackgroundPictureFile[] = "bk_main.jpg";

// The four looks of one skin button, by file name.
struct SkinButtonPictureFiles {
    const char* normal;
    const char* pressed;   // "_se"
    const char* over;      // "_mo"
    const char* disabled;  // "_di"
};

// The five buttons in the order they are loaded: run, start, stop, close, folder. The size of
// the run button's normal picture is the size of every button.
inline constexpr std::array<SkinButtonPictureFiles, 5> kSkinButtonPictureFiles = {{
    {"btn_run.jpg", "btn_run_se.jpg", "btn_run_mo.jpg", "btn_run_di.jpg"},
    {"btn_start.jpg", "btn_start_se.jpg", "btn_start_mo.jpg", "btn_start_di.jpg"},
    {"btn_stop.jpg", "btn_stop_se.jpg", "btn_stop_mo.jpg", "btn_stop_di.jpg"},
    {"btn_close.jpg", "btn_close_se.jpg", "btn_close_mo.jpg", "btn_close_di.jpg"},
    {"btn_folder.jpg", "btn_folder_se.jpg", "btn_folder_mo.jpg", "btn_folder_di.jpg"},
}};

// One value through the platform's profile reader: names match without regard to case,
// blanks and one pair of enclosing quotes are dropped, at most 255 characters count, and a
// missing key or file reads as the empty string. A bare file name is looked for in the
// Windows folder, not the current one: pass a full path.
std::string ReadSkinValue(const char* section, const char* key, const std::string& definitionPath);

// The value of `key` in `block`, a section as the profile reader lists it ("name=value"
// strings, each ended by NUL, the block by an empty one), read as ReadSkinValue reads it from
// the file: the first name that matches without regard to (ASCII) case, blanks around name and
// value dropped, then one pair of enclosing quotes, at most 255 characters. Empty if absent.
std::string SectionValue(std::string_view block, std::string_view key);

// One section of a definition, read from the file at once: a layout asks for eighteen values,
// and each ReadSkinValue opens, checks and closes the file again.
class SkinSection {
public:
    SkinSection(const char* section, const std::string& definitionPath);
    // What ReadSkinValue(section, key, definitionPath) gives.
    std::string Value(const char* key) const;

private:
    std::string section_;
    std::string path_;
    std::string block_;
    bool whole_ = false;  // false: too large to list at once, each value is read alone
};

}  // namespace kv
