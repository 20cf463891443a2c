#include "files/unpacked_files.h"

#include <gtest/gtest.h>

namespace {

kv::WrittenFile File(const std::string& text, uint64_t index, bool identified = true, bool whole = true) {
    kv::WrittenFile file;
    file.bytes.assign(text.begin(), text.end());
    file.whole = whole;
    file.index = index;
    file.identified = identified;
    return file;
}

std::string Kept(const kv::UnpackedFiles& files, const std::string& path) {
    const std::vector<uint8_t>* bytes = files.Find(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "(none)";
}

}  // namespace

TEST(UnpackedFiles, KeepsOnlyWhatCanStillBeOnDisk) {
    kv::UnpackedFiles files(10);
    files.Keep("a", File("one", 1));
    files.Keep("b", File("two", 2));
    files.Keep("a", File("three", 1));  // written again
    files.Keep("B", File("four", 2));   // the same file as b, by another name
    files.Keep("c", File("12345678", 3));  // beyond what is left of the budget
    files.Keep("d", File("part", 4, true, false));
    EXPECT_EQ(Kept(files, "a"), "three");
    EXPECT_EQ(Kept(files, "b"), "(none)");
    EXPECT_EQ(Kept(files, "B"), "four");
    EXPECT_EQ(Kept(files, "c"), "(none)");
    EXPECT_EQ(Kept(files, "d"), "(none)");
    // A file of unknown identity may be any of them: nothing is served from then on.
    files.Keep("e", File("x", 0, false));
    files.Keep("f", File("y", 5));
    EXPECT_EQ(Kept(files, "a"), "(none)");
    EXPECT_EQ(Kept(files, "f"), "(none)");
}
