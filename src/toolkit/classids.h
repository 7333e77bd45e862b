// SPDX-License-Identifier: MIT
#pragma once

// The class identifiers of the control kinds, as creation commands name them.
namespace toolkit::classid {
inline constexpr char CommandButton[] = "VB.CommandButton";
inline constexpr char Frame[] = "VB.Frame";
inline constexpr char TextBox[] = "VB.TextBox";
inline constexpr char Label[] = "VB.Label";
inline constexpr char CheckBox[] = "VB.CheckBox";
inline constexpr char ComboBox[] = "VB.ComboBox";
inline constexpr char ListBox[] = "VB.ListBox";
inline constexpr char Image[] = "VB.Image";
inline constexpr char DriveListBox[] = "VB.DriveListBox";
inline constexpr char DirListBox[] = "VB.DirListBox";
inline constexpr char FileListBox[] = "VB.FileListBox";
} // namespace toolkit::classid
