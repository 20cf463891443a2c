// What a skin consists of: the names of its 21 pictures, and the reading of one value of its
// Config.ini.
#pragma once

#include <array>
#include <string>

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

}  // namespace kv
