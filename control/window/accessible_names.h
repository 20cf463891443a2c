// The names a screen reader gives the control window and its children.
#pragma once

namespace kv {

// The control window's accessible name.
extern const wchar_t kControlWindowName[];
// What child `id` is: a button's caption, a label's or the progress bar's subject; null for
// other ids.
const wchar_t* AccessibleNameOf(int id);

}  // namespace kv
