#pragma once

#include <QDialog>

class QListWidget;

namespace dialogs {

/// "Attach object": asks which kind of object "Add" attaches. The list shows the five kinds in
/// kind order, none highlighted; `selectedKind` is the highlighted entry's kind, or -1 while the
/// user has picked none. OK and Cancel only end the dialog.
class AttachObjectDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit AttachObjectDialog(QWidget* parent = nullptr);

    int selectedKind() const { return m_selectedKind; }

private:
    void selectionChanged();

    QListWidget* m_kinds = nullptr;
    int m_selectedKind = -1;
};

} // namespace dialogs
