#pragma once

#include "importer/ShipImport.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QDialogButtonBox;
class QPlainTextEdit;
class QTableWidget;

namespace shipfile {
class ShipFile;
}

namespace dialogs {

/// Shows what an import will do before it does it: each mesh of the model with its action
/// (replace the component it names, add it as a new component, skip it) and the vertices and
/// faces before and after, and the report with every guess. Changing an action plans again.
/// OK is offered only for a plan that can be applied. The ship is only read.
class ImportDialog : public QDialog
{
public:
    ImportDialog(const shipfile::ShipFile& ship, const importer::Model& model,
                 const QString& modelName, QWidget* parent);

    const importer::ImportPlan& plan() const { return m_plan; }

private:
    void replan();

    const shipfile::ShipFile& m_ship;
    const importer::Model& m_model;
    importer::ImportPlan m_plan;
    std::vector<importer::MeshAction> m_actions;
    QTableWidget* m_table = nullptr;
    QPlainTextEdit* m_report = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace dialogs
