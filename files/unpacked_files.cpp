#include "files/unpacked_files.h"

#include <algorithm>

namespace kv {

void UnpackedFiles::Keep(const std::string& path, WrittenFile file) {
    const auto stale = [&](const Kept& kept) {
        return kept.path == path || (file.identified && kept.file.index == file.index);
    };
    for (const Kept& kept : kept_) {
        if (stale(kept)) total_ -= kept.file.bytes.size();
    }
    kept_.erase(std::remove_if(kept_.begin(), kept_.end(), stale), kept_.end());
    if (!file.identified) {
        closed_ = true;
        kept_.clear();
        total_ = 0;
    }
    if (closed_ || !file.whole || file.bytes.size() > budget_ - total_) return;
    total_ += file.bytes.size();
    kept_.push_back({path, std::move(file)});
}

const std::vector<uint8_t>* UnpackedFiles::Find(const std::string& path) const {
    for (const Kept& kept : kept_) {
        if (kept.path == path) return &kept.file.bytes;
    }
    return nullptr;
}

}  // namespace kv
