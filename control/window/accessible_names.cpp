#include "control/window/accessible_names.h"

#include "control/resource.h"

namespace kv {

const wchar_t kControlWindowName[] = L"Korvendal 다운로드";

const wchar_t* AccessibleNameOf(int id) {
    switch (id) {
    case IDC_PROGRESS: return L"진행률";
    case IDC_FILE_NAME: return L"파일 이름";
    case IDC_FILE_SIZE: return L"파일 크기";
    case IDC_ELAPSED_TIME: return L"경과 시간";
    case IDC_DOWN_SIZE: return L"받은 크기";
    case IDC_ODD_TIME: return L"남은 시간";
    case IDC_DOWN_SPEED: return L"전송 속도";
    case IDC_PERCENT: return L"진행률";
    case IDC_DOWN_STATUS: return L"상태";
    case IDC_DOWN_FOLDER: return L"저장 위치";
    case IDC_BTN_RUN: return L"실행";
    case IDC_BTN_START: return L"시작";
    case IDC_BTN_STOP: return L"중지";
    case IDC_BTN_CLOSE: return L"닫기";
    case IDC_BTN_FOLDER: return L"폴더";
    default: return nullptr;
    }
}

}  // namespace kv
