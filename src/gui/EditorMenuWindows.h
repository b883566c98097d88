// The windows the editor looks up in its layout and its dialogs' layouts, by name and by the
// kind of widget the code takes each one for; the layout test checks the layouts against
// this same list.
#pragma once

#include "gui/DialogStack.h"
#include "gui/WindowKind.h"

namespace EditorMenuWindows
{
constexpr const char* kLayoutFile = "EditorMenu.xml";

struct Dialog
{
    EditorDialog dialog;
    const char* layoutFile;  // its root window is the dialog, laid over the editor's
};

constexpr Dialog kDialogs[] = {
    {EditorDialog::Save, "SaveDialog.xml"},       {EditorDialog::Load, "LoadDialog.xml"},
    {EditorDialog::Terrain, "TerrainDialog.xml"}, {EditorDialog::Error, "ErrorDialog.xml"},
    {EditorDialog::Overwrite, "OverwriteDialog.xml"},
};

// Below the editor's layout once the dialogs are added to it.
constexpr NamedWindow kWindows[] = {
    {"TrackGridPaneDummy", WindowKind::Any},      {"SelectorGridPaneDummy", WindowKind::Any},
    {"PreviewDummy", WindowKind::Any},            {"ScrollBarH", WindowKind::Scrollbar},
    {"ScrollBarV", WindowKind::Scrollbar},        {"CurrentSelection", WindowKind::Text},
    {"Clear", WindowKind::Button},                {"Save", WindowKind::Button},
    {"Load", WindowKind::Button},                 {"Terrain", WindowKind::Button},
    {"Back", WindowKind::Button},                 {"SaveDialogMapname", WindowKind::Text},
    {"SaveDialogSave", WindowKind::Button},       {"SaveDialogBack", WindowKind::Button},
    {"LoadDialogMapList", WindowKind::Combobox},  {"LoadDialogLoad", WindowKind::Button},
    {"LoadDialogBack", WindowKind::Button},       {"TerrainDialogList", WindowKind::Combobox},
    {"TerrainDialogOk", WindowKind::Button},      {"TerrainDialogBack", WindowKind::Button},
    {"ErrorDialogText", WindowKind::Text},        {"ErrorDialogOk", WindowKind::Button},
    {"OverwriteDialogText", WindowKind::Text},    {"OverwriteDialogYes", WindowKind::Button},
    {"OverwriteDialogNo", WindowKind::Button},
};
}
