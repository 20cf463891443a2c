#include "net/last_error.h"

int32_t lastErrorCode = 0;
std::string lastErrorText;
