#include "control/download/init_pipeline.h"

#include "base/local_file.h"
#include "base/timeline.h"
#include "files/local_files.h"
#include "files/skin_archive.h"
#include "files/staged_fetch.h"
#include "net/engine_texts.h"
#include "net/http_downloader.h"
#include "net/system_message.h"

#include <shlobj.h>

namespace kv {
namespace {

constexpr int kReceiveBufferSize = 102400;

}  // namespace

const char kNoTempFolderText[] = "사용자 임시 폴더를 찾을 수 없어 기본 폴더를 정할 수 없습니다.";

std::optional<Failure> PlaceSkinArchive(const std::string& baseUrl, const std::string& infoFileName,
                                        std::string& basePath, UnpackedFiles& unpacked) {
    const std::string archivePath = MakeSkinPath(basePath, infoFileName);
    if (archivePath.empty()) return Failure{FailureKind::Control, E_FAIL, kNoTempFolderText};
    // An archive on disk is used as it is: only whole archives are ever moved there.
    if (FileExists(archivePath)) return std::nullopt;

    // The archive's transfer is not the user's: it has a downloader of its own, bound to no
    // window, so nothing of it reaches the control window or the target file's transfers.
    CHttpDownloaderEx downloader;
    if (!downloader.Initialize(nullptr, kReceiveBufferSize)) return TakeEngineFailure();
    const std::string archiveUrl = baseUrl + infoFileName;
    int64_t size = 0;
    kv::TimelineMark("archive size begin");
    if (!downloader.QueryFileSize(archiveUrl, size)) return TakeEngineFailure();
    kv::TimelineMark("archive size end");
    if (size == 0) {
        return Failure{FailureKind::Engine, 404,
                       "지정된 파일(" + baseUrl + infoFileName + ")의 크기가 0바이트 입니다."};
    }
    kv::TimelineMark("archive fetch begin");
    const StagedFetch fetched = FetchIntoPlace(archivePath, size, [&](const std::string& staging) {
        return downloader.Download(archiveUrl, staging);
    });
    kv::TimelineMark("archive fetch end");
    switch (fetched) {
    case StagedFetch::Placed:
        break;
    case StagedFetch::FetchFailed:
        return TakeEngineFailure();
    case StagedFetch::Incomplete:  // a stopped transfer, or a body without length cut short
        return Failure{FailureKind::Engine, -1, kTruncatedBodyText};
    case StagedFetch::NotPlaced: {
        const DWORD error = ::GetLastError();
        return Failure{FailureKind::Archive, static_cast<int32_t>(error), SystemMessage(error)};
    }
    }
    // A damaged archive shows later as missing skin files.
    kv::TimelineMark("unpack begin");
    (void)ExtractSkinArchive(archivePath, basePath, unpacked);
    kv::TimelineMark("unpack end");
    return std::nullopt;
}

RemoteSize QueryRemoteSize(const std::string& url) {
    CHttpDownloaderEx downloader;
    RemoteSize answer;
    if (!downloader.QueryFileSize(url, answer.size)) {
        answer.size = 0;
        answer.failure = TakeEngineFailure();
    }
    return answer;
}

std::string DocumentsFolder(HWND owner) {
    char documents[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathA(owner, documents, CSIDL_PERSONAL, FALSE)) return {};
    return documents;
}

}  // namespace kv
