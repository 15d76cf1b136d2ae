#include "dialogs/ImportDialog.h"

#include "resources/Strings.h"
#include "shipfile/Catalogue.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace dialogs {

namespace strings = resources::strings;
using importer::MeshAction;

namespace {
QString text(const char* s)
{
    return QString::fromUtf8(s);
}
} // namespace

ImportDialog::ImportDialog(const shipfile::ShipFile& ship, const importer::Model& model,
                           const QString& modelName, QWidget* parent)
    : QDialog(parent), m_ship(ship), m_model(model)
{
    setWindowTitle(text(strings::ImportTitle).replace(QStringLiteral("%s"), modelName));
    m_plan = importer::planImport(m_ship, m_model, {});

    m_table = new QTableWidget(static_cast<int>(m_plan.matches.size()), 3, this);
    m_table->setHorizontalHeaderLabels({text(strings::ImportMeshColumn),
                                        text(strings::ImportActionColumn),
                                        text(strings::ImportCountsColumn)});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (std::size_t row = 0; row < m_plan.matches.size(); ++row) {
        const importer::MeshMatch& match = m_plan.matches[row];
        const int r = static_cast<int>(row);
        m_table->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(match.name)));
        auto* action = new QComboBox(m_table);
        if (match.component >= 0) {
            const QString component = QString::fromStdString(
                shipfile::componentName(m_ship, match.component));
            action->addItem(text(strings::ImportReplace).replace(QStringLiteral("%s"), component),
                            static_cast<int>(MeshAction::Replace));
        }
        action->addItem(text(strings::ImportAddNew), static_cast<int>(MeshAction::Add));
        action->addItem(text(strings::ImportSkip), static_cast<int>(MeshAction::Skip));
        action->setCurrentIndex(action->findData(static_cast<int>(match.action)));
        m_actions.push_back(match.action);
        connect(action, &QComboBox::currentIndexChanged, this, [this, action, row] {
            m_actions[row] = static_cast<MeshAction>(action->currentData().toInt());
            replan();
        });
        m_table->setCellWidget(r, 1, action);
    }
    m_table->resizeColumnsToContents();

    m_report = new QPlainTextEdit(this);
    m_report->setReadOnly(true);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 2);
    layout->addWidget(m_report, 1);
    layout->addWidget(m_buttons);
    resize(640, 480);
    replan();
}

void ImportDialog::replan()
{
    m_plan = importer::planImport(m_ship, m_model, {}, &m_actions);
    QStringList lines;
    for (const std::string& line : importer::reportLines(m_plan))
        lines << QString::fromStdString(line);
    if (m_plan.refused())
        lines = QStringList{QString::fromStdString(m_plan.refusal)};
    m_report->setPlainText(lines.join(QLatin1Char('\n')));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_plan.refused());

    // The counts of each mesh's component: replaced ones in order, then the added ones.
    std::size_t report = 0;
    for (std::size_t row = 0; row < m_plan.matches.size(); ++row) {
        QString counts;
        if (m_actions[row] != MeshAction::Skip && report < m_plan.report.size() &&
            !m_plan.refused()) {
            const importer::ComponentReport& r = m_plan.report[report++];
            counts = r.geometryReplaced
                         ? text(strings::ImportCounts)
                               .arg(r.verticesBefore)
                               .arg(r.verticesAfter)
                               .arg(r.facesBefore)
                               .arg(r.facesAfter)
                         : text(strings::ImportKept);
        }
        m_table->setItem(static_cast<int>(row), 2, new QTableWidgetItem(counts));
    }
}

} // namespace dialogs
