#include "dialogs/AttachmentPropertiesDialog.h"

#include "dialogs/FieldText.h"
#include "editing/NumberText.h"
#include "platform/DialogBuilder.h"
#include "resources/AttachmentPropertiesTemplate.h"
#include "resources/Strings.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace dialogs {

namespace {

namespace id = resources::attachmentproperties;

QString fixedText(float value)
{
    return QString::fromStdString(editing::formatFixed(value));
}

} // namespace

AttachmentPropertiesDialog::AttachmentPropertiesDialog(shipfile::ShipFile& file, int component,
                                                       int attachment, QWidget* parent)
    : QDialog(parent), m_file(file), m_component(component), m_attachment(attachment),
      m_values(editing::attachmentProperties(file, component, attachment))
{
    platform::buildDialog(*this, resources::AttachmentPropertiesTemplate);
    auto* ok = platform::findControl<QPushButton>(*this, id::Ok);
    auto* cancel = platform::findControl<QPushButton>(*this, id::Cancel);
    m_properties = platform::findControl<QListWidget>(*this, id::Properties);
    m_x = platform::findControl<QLineEdit>(*this, id::X);
    m_y = platform::findControl<QLineEdit>(*this, id::Y);
    m_z = platform::findControl<QLineEdit>(*this, id::Z);
    m_problem = platform::findControl<QLabel>(*this, id::Problem);
    Q_ASSERT(ok && cancel && m_properties && m_x && m_y && m_z && m_problem);
    QPalette problemColours = m_problem->palette();
    problemColours.setColor(QPalette::WindowText, Qt::darkRed);
    m_problem->setPalette(problemColours);
    m_problem->setWordWrap(true);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Selection, not the current row: focus moves the current row without the user picking.
    connect(m_properties, &QListWidget::itemSelectionChanged, this,
            &AttachmentPropertiesDialog::selectionChanged);
    connect(m_x, &QLineEdit::textChanged, this, &AttachmentPropertiesDialog::xEdited);
    connect(m_y, &QLineEdit::textChanged, this, &AttachmentPropertiesDialog::yEdited);
    connect(m_z, &QLineEdit::textChanged, this, &AttachmentPropertiesDialog::zEdited);

    fill();
}

void AttachmentPropertiesDialog::fill()
{
    if (!m_values) {
        m_properties->setEnabled(false);
        m_x->setEnabled(false);
        m_y->setEnabled(false);
        m_z->setEnabled(false);
        return;
    }

    for (const std::string& choice : editing::propertyChoices(m_values->kind))
        m_properties->addItem(QString::fromStdString(choice));
    // A value that names no entry stays as it is until the user picks one.
    if (const auto row = editing::highlightedChoice(m_values->kind, m_values->propertyIndex)) {
        const QSignalBlocker blocker(m_properties);
        m_properties->setCurrentRow(*row);
    }

    // Each text set runs its handler: the coordinates become the parse of what is shown.
    m_x->setText(fixedText(m_values->position.x));
    m_y->setText(fixedText(m_values->position.y));
    m_z->setText(fixedText(m_values->position.z));
}

void AttachmentPropertiesDialog::selectionChanged()
{
    const QList<QListWidgetItem*> selected = m_properties->selectedItems();
    if (m_values && !selected.isEmpty())
        m_values->propertyIndex = m_properties->row(selected.first());
}

void AttachmentPropertiesDialog::xEdited(const QString& text)
{
    coordinateEdited(*m_x, &shipfile::Vec3::x, text);
}

void AttachmentPropertiesDialog::yEdited(const QString& text)
{
    coordinateEdited(*m_y, &shipfile::Vec3::y, text);
}

void AttachmentPropertiesDialog::zEdited(const QString& text)
{
    coordinateEdited(*m_z, &shipfile::Vec3::z, text);
}

// Text that is no coordinate a ship can hold ("12abc", "nan", "1e40") is marked and keeps the
// coordinate.
void AttachmentPropertiesDialog::coordinateEdited(QLineEdit& field,
                                                  float shipfile::Vec3::*coordinate,
                                                  const QString& text)
{
    const auto value = realField(field, text);
    if (m_values && value)
        m_values->position.*coordinate = static_cast<float>(*value);
    // A refusal on show stays true to the fields as they are now.
    if (!m_problem->text().isEmpty())
        showRefusal();
}

QLineEdit* AttachmentPropertiesDialog::showRefusal()
{
    const std::pair<const char*, QLineEdit*> fields[] = {{"X", m_x}, {"Y", m_y}, {"Z", m_z}};
    for (const auto& [name, field] : fields) {
        if (!editing::parseRealField(field->text().toStdString())) {
            m_problem->setText(QString::fromUtf8(resources::strings::CoordinateRefused)
                                   .arg(QString::fromUtf8(name), field->text()));
            return field;
        }
    }
    m_problem->clear();
    return nullptr;
}

void AttachmentPropertiesDialog::done(int result)
{
    if (m_values && result == QDialog::Accepted) {
        if (QLineEdit* refused = showRefusal()) {
            refused->setFocus();
            refused->selectAll();
            return;
        }
        editing::setAttachmentProperty(m_file, m_component, m_attachment, m_values->propertyIndex);
        editing::setAttachmentPosition(m_file, m_component, m_attachment, m_values->position);
    }
    QDialog::done(result);
}

} // namespace dialogs
