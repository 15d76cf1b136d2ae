#include "dialogs/ComponentPropertiesDialog.h"

#include "dialogs/FieldText.h"
#include "editing/Components.h"
#include "editing/NumberText.h"
#include "platform/DialogBuilder.h"
#include "platform/QtText.h"
#include "resources/ComponentPropertiesTemplate.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <initializer_list>

namespace dialogs {

namespace {

namespace id = resources::componentproperties;

constexpr auto NameFieldChars = static_cast<qsizetype>(shipfile::layout::component::NameMaxEdit);

} // namespace

ComponentPropertiesDialog::ComponentPropertiesDialog(shipfile::ShipFile& file, int component,
                                                     QWidget* parent)
    : QDialog(parent), m_file(file), m_component(component)
{
    platform::buildDialog(*this, resources::ComponentPropertiesTemplate);
    auto* ok = platform::findControl<QPushButton>(*this, id::Ok);
    m_name = platform::findControl<QLineEdit>(*this, id::Name);
    m_role = platform::findControl<QLineEdit>(*this, id::Role);
    m_changeRole = platform::findControl<QPushButton>(*this, id::ChangeRole);
    m_hitPoints = platform::findControl<QLineEdit>(*this, id::HitPoints);
    m_hasDebris = platform::findControl<QCheckBox>(*this, id::HasDebris);
    m_debrisNumber = platform::findControl<QLineEdit>(*this, id::DebrisNumber);
    Q_ASSERT(ok && m_name && m_role && m_changeRole && m_hitPoints && m_hasDebris &&
             m_debrisNumber);

    // The field shows no more of the name than the record receives.
    m_name->setMaxLength(static_cast<int>(NameFieldChars));
    acceptStorableText(*m_name);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(platform::findControl<QPushButton>(*this, id::Cancel), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(m_name, &QLineEdit::textChanged, this, &ComponentPropertiesDialog::nameEdited);
    connect(m_hitPoints, &QLineEdit::textChanged, this,
            &ComponentPropertiesDialog::hitPointsEdited);
    connect(m_changeRole, &QPushButton::clicked, this, &ComponentPropertiesDialog::changeRole);
    connect(m_hasDebris, &QCheckBox::clicked, this, &ComponentPropertiesDialog::hasDebrisClicked);
    connect(m_debrisNumber, &QLineEdit::textChanged, this,
            &ComponentPropertiesDialog::debrisNumberEdited);

    fill();
}

// The order matters: each text set here runs that field's handler, which writes the shown
// value back, so the record ends up holding what the fields show.
void ComponentPropertiesDialog::fill()
{
    const auto properties = editing::componentProperties(m_file, m_component);
    if (!properties) {
        const std::initializer_list<QWidget*> fields = {m_name,      m_role,      m_changeRole,
                                                        m_hitPoints, m_hasDebris, m_debrisNumber};
        for (QWidget* field : fields)
            field->setEnabled(false);
        return;
    }

    m_hitPoints->setEnabled(properties->hitPoints.has_value());
    if (properties->hitPoints)
        m_hitPoints->setText(
            QString::fromStdString(editing::formatInteger(*properties->hitPoints)));

    m_name->setText(platform::nameToQString(properties->name));

    m_role->setEnabled(properties->role.has_value());
    m_changeRole->setEnabled(properties->role.has_value());
    if (properties->role)
        m_role->setText(QString::fromStdString(shipfile::roleText(*properties->role)));

    m_hasDebris->setEnabled(properties->hasDebris.has_value());
    m_hasDebris->setChecked(properties->hasDebris.value_or(false));

    m_debrisNumber->setEnabled(properties->debrisNumber.has_value());
    if (properties->debrisNumber)
        m_debrisNumber->setText(
            QString::fromStdString(editing::formatInteger(*properties->debrisNumber)));
}

void ComponentPropertiesDialog::nameEdited(const QString& text)
{
    editing::setComponentName(m_file, m_component, fieldText(text, NameFieldChars));
}

// Text that is no number in range (an emptied field, a letter, too many digits) is marked and
// keeps the stored value.
void ComponentPropertiesDialog::hitPointsEdited(const QString& text)
{
    if (const auto value = integerField(*m_hitPoints, text))
        editing::setComponentHitPoints(m_file, m_component, *value);
}

void ComponentPropertiesDialog::changeRole()
{
    if (const auto role = editing::cycleComponentRole(m_file, m_component))
        m_role->setText(QString::fromStdString(shipfile::roleText(*role)));
}

void ComponentPropertiesDialog::hasDebrisClicked(bool checked)
{
    editing::setComponentHasDebris(m_file, m_component, checked);
}

void ComponentPropertiesDialog::debrisNumberEdited(const QString& text)
{
    if (const auto value = integerField(*m_debrisNumber, text))
        editing::setComponentDebrisNumber(m_file, m_component, *value);
}

} // namespace dialogs
