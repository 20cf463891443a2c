// The mouse as a user's hand moves it: the real pointer is moved and the button pressed
// through the system's input queue, so windows see what a person would give them (a
// disabled button gets no click, a skinned button sees the pointer come and go).
#pragma once

#include <windows.h>

namespace kv::host {

// Moves the pointer to the centre of `window`. Fails when another top-level window lies
// over that point, since input there would reach that window instead.
[[nodiscard]] HRESULT MovePointerOnto(HWND window);
// Moves the pointer to a point of the screen outside `window`.
[[nodiscard]] HRESULT MovePointerOff(HWND window);
// Moves the pointer onto `window` and presses and releases the left button there. The
// click is handled later, by the thread's message loop.
[[nodiscard]] HRESULT ClickOn(HWND window);
// Moves the pointer onto `window` and holds the left button down there: a button shows its
// pressed look until the release.
[[nodiscard]] HRESULT PressOn(HWND window);
// Moves the pointer off `outside` and lets the left button go there, so that a held button
// is released without a click, as when a user slides off before letting go.
[[nodiscard]] HRESULT ReleaseOff(HWND outside);

}  // namespace kv::host
