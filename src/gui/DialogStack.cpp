// The editor's open dialogs.
#include "gui/DialogStack.h"

#include <algorithm>

void DialogStack::open(EditorDialog dialog)
{
    close(dialog);
    dialogs.push_back(dialog);
}

void DialogStack::close(EditorDialog dialog)
{
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), dialog), dialogs.end());
}

bool DialogStack::isOpen(EditorDialog dialog) const
{
    return std::find(dialogs.begin(), dialogs.end(), dialog) != dialogs.end();
}

std::optional<EditorDialog> DialogStack::top() const
{
    if (dialogs.empty())
        return std::nullopt;
    return dialogs.back();
}

DialogStack::KeyAction DialogStack::onEscape() const
{
    if (dialogs.empty())
        return {Answer::LeaveEditor};
    const EditorDialog onTop = dialogs.back();
    return {onTop == EditorDialog::Error ? Answer::Confirm : Answer::Close, onTop};
}

DialogStack::KeyAction DialogStack::onEnter() const
{
    if (dialogs.empty())
        return {Answer::Nothing};
    return {Answer::Confirm, dialogs.back()};
}
