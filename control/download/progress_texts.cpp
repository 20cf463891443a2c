#include "control/download/progress_texts.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// A double cut toward zero into a signed 64-bit number, held at the type's edges, so that
// the low 32 bits can be taken without undefined behaviour.
int64_t TruncateToInt64(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLimit = 9223372036854775807.0;
    if (value >= kLimit) return std::numeric_limits<int64_t>::max();
    if (value <= -kLimit) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

}  // namespace

std::string FormatDuration(uint32_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%2" PRIu32 ":%02" PRIu32 ":%02" PRIu32, seconds / 3600,
                  (seconds / 60) % 60, seconds % 60);
    return text;
}

std::string GroupDigits(const std::string& digits) {
    std::string grouped = digits;
    const size_t n = digits.size();
    size_t k = 0;
    for (size_t i = n; i >= 1; --i, ++k) {
        if (i != n && k % 3 == 0) grouped.insert(i, ",");
    }
    return grouped;
}

std::string FormatGrouped(int32_t value) { return GroupDigits(std::to_string(value)); }

std::string FormatGrouped64(int64_t value) { return GroupDigits(std::to_string(value)); }

std::string KilobyteText(int64_t bytes) { return FormatGrouped64(bytes / 1024) + " KB"; }

std::string SpeedText(int32_t kilobytesPerSecond) {
    return FormatGrouped(kilobytesPerSecond) + " KB/Sec";
}

int32_t TruncatedPercent(double done, double total) {
    if (!(total > 0)) return 0;
    const double percent = done / total * 100;
    if (std::isnan(percent) || percent <= 0) return 0;
    if (percent >= 100) return 100;
    return static_cast<int32_t>(percent);
}

int32_t FilePercent(int64_t onDisk, int64_t fileSize) {
    if (fileSize == 0) return 100;
    return TruncatedPercent(static_cast<double>(onDisk), static_cast<double>(fileSize));
}

std::string PercentText(int32_t percent) { return std::to_string(percent) + "%"; }

TransferFigures ComputeTransferFigures(int64_t received, int64_t fileSize, int64_t transferBytes,
                                       uint32_t elapsedTicks) {
    TransferFigures figures;
    figures.received = KilobyteText(received);
    const uint32_t wholeSeconds = elapsedTicks / 1000;
    const double bytesPerSecond =
        wholeSeconds == 0 ? 0.0 : static_cast<double>(transferBytes) / wholeSeconds;
    if (!(bytesPerSecond > 0)) {
        figures.speed = SpeedText(0);
        figures.remaining = FormatDuration(0);
        return figures;
    }
    const auto wholeBytesPerSecond = static_cast<uint32_t>(TruncateToInt64(bytesPerSecond));
    figures.speed = SpeedText(static_cast<int32_t>(wholeBytesPerSecond / 1024));
    // A file that grew on the server past the size queried has nothing left to wait for.
    const int64_t left = fileSize > received ? fileSize - received : 0;
    const auto seconds = static_cast<uint32_t>(TruncateToInt64(static_cast<double>(left) / bytesPerSecond));
    figures.remaining = FormatDuration(seconds);
    return figures;
}

bool CountProgressNotification(uint32_t& counter, int64_t received, int64_t fileSize) {
    ++counter;
    if (counter != 20 && received != fileSize) return false;
    counter = 0;
    return true;
}
