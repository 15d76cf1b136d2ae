#pragma once

#include "shipfile/ShipFile.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace dialogs {

/// "Change component properties": the name, role, hit points and debris of one component,
/// edited in its record of the components table as they change. The values the dialog fills in
/// when it opens go through the same handlers, so a name longer than the field takes is cut
/// to it at once. There is no Cancel: however the dialog closes, what was written stays.
///
/// A reduced components table (records other than 312 bytes) is edited only where its record
/// holds a field; the others are shown disabled and never written.
class ComponentPropertiesDialog final : public QDialog
{
    Q_OBJECT

public:
    /// Edits record `component` of `file`'s components table. The dialog shows no messages of
    /// its own.
    ComponentPropertiesDialog(shipfile::ShipFile& file, int component, QWidget* parent = nullptr);

private:
    void fill();
    void nameEdited(const QString& text);
    void hitPointsEdited(const QString& text);
    void changeRole();
    void hasDebrisClicked(bool checked);
    void debrisNumberEdited(const QString& text);

    shipfile::ShipFile& m_file;
    const int m_component;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_role = nullptr;
    QPushButton* m_changeRole = nullptr;
    QLineEdit* m_hitPoints = nullptr;
    QCheckBox* m_hasDebris = nullptr;
    QLineEdit* m_debrisNumber = nullptr;
};

} // namespace dialogs
