#include "launcher/ui/EntryEditing.h"

#include "launcher/EntryManager.h"
#include "launcher/ui/frmEditApp.h"
#include "launcher/ui/frmSelect.h"
#include "ui/BarLink.h"
#include "ui/Prompts.h"

namespace tramble {

void EditEntry(TBarLink& bar, TEntryManager& entries, int i, int iconSize)
{
    if (i < 0 || i >= entries.Count())
        return;
    TBarHold hold(bar);
    // The entry is found again by its id when the editor closes.
    const uint64_t id = entries.Entries().Id(i);
    TfrmEditApp editor(entries.Entries()[i], bar.Language(), entries.Folders(), iconSize, bar.BarWindow());
    if (RunPrompt(editor) != QDialog::Accepted)
        return;
    if (const std::optional<int> now = entries.Entries().IndexOfId(id))
        entries.EntryEdited(*now, editor.Edited());
}

std::optional<std::string> ChooseItemToAdd(TBarLink& bar)
{
    TBarHold hold(bar);
    TfrmSelect select(TfrmSelect::TMode::FilesAndFolders, bar.Language(), bar.BarWindow());
    if (RunPrompt(select) != QDialog::Accepted)
        return std::nullopt;
    const QString path = select.SelectedPath();
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

} // namespace tramble
