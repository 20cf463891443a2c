// The failure text for an HTTP status of 400 or more, as the user reads it.
#pragma once

namespace kv {

// Code page 949 text; statuses without a row of their own get the general text.
const char* HttpStatusText(int status);

}  // namespace kv
