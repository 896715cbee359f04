// The main window's controls at 96 DPI: position, kind and tab stop, in creation
// (and tab) order. Positions are client pixels; labels size themselves to their text.
#pragma once

#include "app/MainView.h"

namespace velmora {

enum class TControlKind { Label, Link, DatePicker, Edit, Button, DefaultButton, StatusMemo, CheckBox, FileMemo };

struct TControlSpec {
  TControl Control;
  TControlKind Kind;
  int Left, Top, Width, Height;  // width and height 0: sized to the label's text
};

inline constexpr int ClientWidth = 1091;
inline constexpr int ClientHeight = 471;

inline constexpr TControlSpec ControlSpecs[] = {
    {TControl::LabelDate, TControlKind::Label, 24, 24, 0, 0},
    {TControl::DatePicker, TControlKind::DatePicker, 232, 16, 186, 23},
    {TControl::LabelOutput, TControlKind::Label, 24, 56, 0, 0},
    {TControl::EditOutput, TControlKind::Edit, 24, 77, 470, 23},
    {TControl::ButtonBrowse, TControlKind::Button, 508, 76, 88, 25},
    {TControl::ButtonGenerate, TControlKind::DefaultButton, 24, 123, 180, 32},
    {TControl::LabelJokeCount, TControlKind::Label, 242, 130, 0, 0},
    {TControl::EditJokeCount, TControlKind::Edit, 386, 127, 52, 23},
    {TControl::ButtonGenerateJokes, TControlKind::Button, 460, 125, 136, 28},
    {TControl::ButtonGenerateFolk, TControlKind::Button, 24, 172, 180, 32},
    {TControl::MemoStatus, TControlKind::StatusMemo, 24, 216, 572, 84},
    {TControl::LabelCopyright, TControlKind::Label, 24, 316, 0, 0},
    {TControl::LabelAuthor, TControlKind::Label, 24, 337, 0, 0},
    {TControl::LabelSites, TControlKind::Link, 24, 358, 0, 0},
    {TControl::Label1, TControlKind::Label, 440, 24, 0, 0},
    {TControl::ButtonCheckUpdates, TControlKind::Button, 24, 391, 180, 28},
    {TControl::CheckAutoUpdates, TControlKind::CheckBox, 24, 431, 572, 20},
    {TControl::Memo1, TControlKind::FileMemo, 616, 8, 465, 449},
};

inline constexpr int ControlCount = sizeof(ControlSpecs) / sizeof(ControlSpecs[0]);

}  // namespace velmora
