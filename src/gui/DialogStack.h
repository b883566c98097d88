// The editor's dialogs that are open and which lies over which: the last opened is on top,
// the one the player sees, and Escape and Enter go to it. Knows nothing of the windows.
#pragma once

#include <optional>
#include <vector>

enum class EditorDialog
{
    Save,
    Load,
    Terrain,
    Error,
    Overwrite,
};

class DialogStack
{
public:
    // What a key does in the editor.
    enum class Answer
    {
        Nothing,
        LeaveEditor,  // no dialog open: Escape leaves
        Close,        // the dialog closes, answering nothing
        Confirm,      // as the dialog's first button: Save, Load, OK or Replace
    };
    struct KeyAction
    {
        Answer answer = Answer::Nothing;
        EditorDialog dialog = EditorDialog::Save;  // the dialog closed or confirmed
    };

    // Puts the dialog on top; one already open moves up from where it was.
    void open(EditorDialog dialog);
    // Takes the dialog out wherever it lies; one not open changes nothing.
    void close(EditorDialog dialog);
    void clear() { dialogs.clear(); }
    bool isOpen(EditorDialog dialog) const;
    bool empty() const { return dialogs.empty(); }
    std::optional<EditorDialog> top() const;

    // Escape closes the dialog on top, or leaves the editor when none is open; the error
    // dialog has one answer, OK, which Escape gives too.
    KeyAction onEscape() const;
    // Enter confirms the dialog on top; without one it does nothing.
    KeyAction onEnter() const;

private:
    std::vector<EditorDialog> dialogs;  // the bottom one first
};
