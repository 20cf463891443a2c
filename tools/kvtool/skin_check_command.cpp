// kvtool skin-check PATH [--window WxH]: every problem the control would meet with a skin
// folder or skin archive, one line each, read with the control's own parsers, profile reader,
// picture loader and archive reader. Exit status 1 when Init would fail with the skin.
#include "tools/kvtool/commands.h"

#include "base/codepage.h"
#include "base/local_file.h"
#include "files/local_files.h"
#include "files/skin_archive.h"
#include "files/skin_zip_reader.h"
#include "skin/dpi_scale.h"
#include "skin/picture_file.h"
#include "skin/skin_definition.h"
#include "skin/skin_layout.h"
#include "skin/skin_values.h"

#include <windows.h>
#include <objbase.h>

#include <array>
#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

int FieldsNeeded(kv::SkinValueKind kind) {
    return kind == kv::SkinValueKind::Color ? 3 : kind == kv::SkinValueKind::Rect ? 4 : 2;
}

void Report(const char* level, const std::string& subject, const std::string& text) {
    std::printf("%s %s: %s\n", level, kv::AnsiToUtf8(subject).c_str(), text.c_str());
}

// A field the C library reads whole: blanks, an optional sign, digits, blanks.
bool IsWholeNumber(const std::string& field) {
    size_t i = 0;
    while (i < field.size() && std::isspace(static_cast<unsigned char>(field[i]))) ++i;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) ++i;
    const size_t digits = i;
    while (i < field.size() && std::isdigit(static_cast<unsigned char>(field[i]))) ++i;
    if (i == digits) return false;
    while (i < field.size() && std::isspace(static_cast<unsigned char>(field[i]))) ++i;
    return i == field.size();
}

struct Placed {
    const char* key;
    RECT rect;
};

bool HasArea(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right - r.left) + "," + std::to_string(r.bottom - r.top);
}

class SkinChecker {
public:
    SkinChecker(std::string folder, SIZE window) : folder_(std::move(folder)), window_(window) {}

    // Returns true when the layout would succeed.
    bool Check() {
        CheckPictures();
        const bool laidOut = CheckDefinition();
        CheckPlaces();
        return laidOut;
    }

private:
    std::string PathOf(const std::string& name) const { return folder_ + "\\" + name; }

    std::optional<SIZE> LoadPicture(const char* name) {
        const std::string path = PathOf(name);
        if (!kv::FileExists(path)) {
            Report("WARNING", name, "missing");
            return std::nullopt;
        }
        int width = 0, height = 0;
        if (!kv::LoadPictureFile(path, &width, &height)) {
            Report("WARNING", name, "unreadable: not a picture the control's loader reads");
            return std::nullopt;
        }
        CheckDoubleSize(name, SIZE{width, height});
        return SIZE{width, height};
    }

    // A double-size picture for screens of 144 dpi and more is drawn scaled to twice its
    // plain picture's size; one of another size is stretched or squeezed.
    void CheckDoubleSize(const char* name, SIZE plain) {
        const std::string doubleName = kv::DoubleSizePictureName(name);
        const std::string path = PathOf(doubleName);
        if (!kv::FileExists(path)) return;
        int width = 0, height = 0;
        if (!kv::LoadPictureFile(path, &width, &height)) {
            Report("WARNING", doubleName, "unreadable: not a picture the control's loader reads");
            return;
        }
        const SIZE twice{plain.cx * 2, plain.cy * 2};
        if (width != twice.cx || height != twice.cy) {
            Report("WARNING", doubleName, Size({width, height}) + ", not twice the size of " + name + " (" +
                                              Size(plain) + "): drawn scaled to " + Size(twice) + " at 192 dpi");
        }
    }

    void CheckPictures() {
        const std::optional<SIZE> background = LoadPicture(kv::kBackgroundPictureFile);
        if (!background) {
            Report("WARNING", kv::kBackgroundPictureFile, "the window has no background");
        } else if (background->cx < window_.cx || background->cy < window_.cy) {
            Report("WARNING", kv::kBackgroundPictureFile,
                   Size(*background) + " is smaller than the window (" + Size(window_) + ")");
        }
        for (const kv::SkinButtonPictureFiles& files : kv::kSkinButtonPictureFiles) {
            for (const char* name : {files.normal, files.pressed, files.over, files.disabled}) {
                const std::optional<SIZE> size = LoadPicture(name);
                if (name == kv::kSkinButtonPictureFiles[0].normal) {
                    if (size) button_ = *size;
                    else Report("WARNING", name, "the buttons take its size: all five are 0x0 and unseen");
                } else if (size && button_.cx > 0 && (size->cx != button_.cx || size->cy != button_.cy)) {
                    Report("WARNING", name, Size(*size) + ", not the size of btn_run.jpg (" +
                                                Size(button_) + "): drawn cut or short");
                }
            }
        }
    }

    static std::string Size(SIZE s) { return std::to_string(s.cx) + "x" + std::to_string(s.cy); }

    bool CheckDefinition() {
        const std::string definition = PathOf(kv::kSkinDefinitionFile);
        if (!kv::FileExists(definition)) {
            Report("ERROR", kv::kSkinDefinitionFile, "missing: Init fails at text_color");
            return false;
        }
        bool laidOut = true;
        const kv::SkinSection section(kv::kSkinSection, definition);
        for (const kv::SkinKey& key : kv::kSkinKeys) {
            const std::string value = section.Value(key.key);
            std::vector<std::string> fields;
            const int count = kv::SplitString(value, ',', fields);
            const int needed = FieldsNeeded(key.kind);
            if (count < needed) {
                std::string text = value.empty() ? "missing or empty"
                                                 : "has " + std::to_string(count) + " field(s), needs " +
                                                       std::to_string(needed);
                // The layout stops at the first short key; later ones are only named.
                if (laidOut) text += ": Init fails here (E_INVALIDARG) and places nothing after it";
                Report("ERROR", key.key, text);
                laidOut = false;
                continue;
            }
            CheckFields(key, fields, needed);
            Place(key, value);
        }
        return laidOut;
    }

    void CheckFields(const kv::SkinKey& key, const std::vector<std::string>& fields, int needed) {
        for (int i = 0; i < needed; ++i) {
            const int32_t read = kv::FieldToInt(fields[i]);
            const std::string which = "field " + std::to_string(i + 1) + " \"" + kv::AnsiToUtf8(fields[i]) + "\"";
            if (!IsWholeNumber(fields[i])) {
                Report("WARNING", key.key, which + " is not a number: read as " + std::to_string(read));
            } else if (key.kind == kv::SkinValueKind::Color && (read < 0 || read > 255)) {
                Report("WARNING", key.key, which + " is taken as " + std::to_string(read & 0xFF));
            }
        }
    }

    void Place(const kv::SkinKey& key, const std::string& value) {
        if (key.kind == kv::SkinValueKind::Rect) {
            kv::SkinRect r;
            if (kv::ParseRect(value, r)) placed_.push_back({key.key, {r.left, r.top, r.right, r.bottom}});
        } else if (key.kind == kv::SkinValueKind::Point) {
            kv::SkinPoint p;
            if (kv::ParsePoint(value, p))
                placed_.push_back({key.key, {p.x, p.y, kv::WrappingAdd(p.x, button_.cx),
                                             kv::WrappingAdd(p.y, button_.cy)}});
        }
    }

    // The start and stop buttons are never shown together, so they may share a place.
    static bool MayShare(const char* a, const char* b) {
        const std::string x = a, y = b;
        return (x == "btn_start" && y == "btn_stop") || (x == "btn_stop" && y == "btn_start");
    }

    void CheckPlaces() {
        for (size_t i = 0; i < placed_.size(); ++i) {
            const Placed& p = placed_[i];
            if (!HasArea(p.rect)) {
                // Buttons without btn_run.jpg are reported with the picture.
                if (button_.cx > 0 || std::string(p.key).rfind("btn_", 0) != 0)
                    Report("WARNING", p.key, RectText(p.rect) + " has no area: the control is unseen");
                continue;
            }
            if (p.rect.left < 0 || p.rect.top < 0 || p.rect.right > window_.cx || p.rect.bottom > window_.cy) {
                Report("WARNING", p.key, RectText(p.rect) + " lies outside the window (" + Size(window_) + ")");
            }
            for (size_t j = 0; j < i; ++j) {
                RECT common;
                if (HasArea(placed_[j].rect) && !MayShare(p.key, placed_[j].key) &&
                    ::IntersectRect(&common, &p.rect, &placed_[j].rect)) {
                    Report("WARNING", p.key, RectText(p.rect) + " overlaps " + placed_[j].key + " (" +
                                                 RectText(placed_[j].rect) + ")");
                }
            }
        }
    }

    std::string folder_;
    SIZE window_;
    SIZE button_ = {0, 0};
    std::vector<Placed> placed_;
};

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Walks the archive's members as the extraction does and names those the control refuses or
// does not read; then unpacks it with the control's own extraction into `folder`.
void CheckArchive(const std::string& archive, const std::string& folder) {
    CSkinZipReader reader;
    ZipEntry entry;
    if (reader.Open(archive) != kZipOk || reader.GetEntry(-1, entry) != kZipOk) {
        Report("WARNING", archive, "not a zip archive the control can open: nothing is unpacked");
        return;
    }
    const int32_t count = entry.index;
    for (int32_t i = 0; i < count; ++i) {
        if (reader.GetEntry(i, entry) != kZipOk) {
            Report("WARNING", "member " + std::to_string(i + 1),
                   "refused (not stored or deflated, or a name of 260 bytes or more): unpacking "
                   "stops here");
            break;
        }
        const std::string name = entry.name;
        if (!IsContainedRelativePath(name)) {
            Report("WARNING", name, "a name the control refuses (a drive, a root, \"..\", a device "
                                    "or a stream): unpacking stops here");
            break;
        }
        std::string bare = name;
        while (!bare.empty() && IsSeparator(bare.back())) bare.pop_back();
        if (bare.find_first_of("/\\") != std::string::npos) {
            Report("WARNING", name, "below the archive's top level: the control reads skin files "
                                    "from the top level only");
        } else if (bare.size() != name.size() || (entry.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            Report("WARNING", name, "a folder: the control reads skin files from the top level only");
        }
    }
    reader.Close();
    ExtractSkinArchive(archive, folder);
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    const HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(folder.c_str());
}

std::optional<SIZE> ParseWindowSize(const std::string& text) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return std::nullopt;
    const int width = std::atoi(text.substr(0, x).c_str());
    const int height = std::atoi(text.substr(x + 1).c_str());
    if (width <= 0 || height <= 0) return std::nullopt;
    return SIZE{width, height};
}

}  // namespace

int RunSkinCheckCommand(const Arguments& args) {
    std::optional<SIZE> window = SIZE{378, 311};  // the control window at its default extent
    if (args.size() == 3 && args[1] == "--window") window = ParseWindowSize(args[2]);
    if ((args.size() != 1 && args.size() != 3) || !window) {
        std::fputs("usage: kvtool skin-check FOLDER|ARCHIVE [--window WIDTHxHEIGHT]\n", stderr);
        return 2;
    }
    const std::string path = args[0];
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "no such file or folder: %s\n", kv::AnsiToUtf8(path).c_str());
        return 2;
    }
    if (FAILED(::CoInitialize(nullptr))) return 2;
    bool laidOut = false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        laidOut = SkinChecker(path, *window).Check();
    } else {
        const std::string folder = GetTempFolder() + "kvskin-" + std::to_string(::GetCurrentProcessId());
        RemoveTree(folder);
        ::CreateDirectoryA(folder.c_str(), nullptr);
        CheckArchive(path, folder);
        laidOut = SkinChecker(folder, *window).Check();
        // The extraction leaves the current folder inside what it unpacked, which would keep
        // that folder from being removed.
        ::SetCurrentDirectoryA(GetTempFolder().c_str());
        RemoveTree(folder);
    }
    ::CoUninitialize();
    std::fflush(stdout);
    return laidOut ? 0 : 1;
}
