// Mnemonics and focus for controls inside group boxes. The dialog manager
// knows the mnemonics of labels and buttons; a group's caption moves the
// focus into the group, as a framework's group box does.
#pragma once

#include <windows.h>

#include <span>

namespace velmora::win32 {

// The letter after a single "&" of a caption, upper-cased; 0 for none.
wchar_t MnemonicOf(const wchar_t* caption);

// Where the focus goes when it enters a group: its first control that takes
// the focus, a radio group's checked item rather than its first.
HWND FirstTabStopIn(HWND container);

// Alt+`key` (a WM_SYSCHAR): the focus goes into the first of `groups`, in
// order, that is enabled and whose caption has that mnemonic. True when it
// went there.
bool GroupMnemonic(HWND dialog, wchar_t key, std::span<const HWND> groups);

}  // namespace velmora::win32
