#include "app/ChecksPane.h"

#include "platform/QtText.h"
#include "resources/Strings.h"
#include "shipfile/MessageText.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

namespace {

namespace strings = resources::strings;
using shipfile::messages::formatNumber;

QString whereText(const checks::Finding& f)
{
    std::string text;
    if (f.block)
        text = formatNumber(strings::ChecksBlock, static_cast<long long>(*f.block));
    if (f.record)
        text += formatNumber(strings::ChecksRecord, static_cast<long long>(*f.record));
    return QString::fromStdString(text);
}

QString componentText(const checks::Finding& f)
{
    if (!f.component)
        return {};
    // Names are raw bytes; Latin-1 shows every one of them as some character.
    return QString::number(*f.component) + QLatin1Char(' ') +
           QString::fromLatin1(f.componentName.data(),
                               static_cast<qsizetype>(f.componentName.size()));
}

} // namespace

ChecksPane::ChecksPane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ChecksPane"));
    m_counts = new QLabel(this);
    m_rows = new QTreeWidget(this);
    m_errorIcon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    m_warningIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    m_rows->setRootIsDecorated(false);
    m_rows->setUniformRowHeights(true);
    m_rows->setAlternatingRowColors(true);
    QStringList headers;
    for (const char* column : strings::ChecksColumns)
        headers << QString::fromUtf8(column);
    m_rows->setHeaderLabels(headers);
    m_rows->header()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_counts);
    layout->addWidget(m_rows);
    connect(m_rows, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        emit findingActivated(m_rows->indexOfTopLevelItem(item));
    });
    m_counts->setText(QString::fromUtf8(strings::ChecksTitle) +
                      QString::fromUtf8(strings::ChecksNoShip));
}

const std::vector<checks::Finding>& ChecksPane::findings() const
{
    static const std::vector<checks::Finding> none;
    return m_shown ? *m_shown : none;
}

void ChecksPane::showFindings(std::optional<std::vector<checks::Finding>> fresh)
{
    if (fresh == m_shown)
        return;
    m_shown = std::move(fresh);
    m_rows->clear();
    if (!m_shown) {
        m_counts->setText(QString::fromUtf8(strings::ChecksTitle) +
                          QString::fromUtf8(strings::ChecksNoShip));
        return;
    }
    const std::vector<checks::Finding>* findings = &*m_shown;
    m_counts->setText(QString::fromUtf8(strings::ChecksTitle) +
                      QString::fromStdString(checks::countsText(checks::countFindings(*findings))));
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(findings->size()));
    for (const checks::Finding& f : *findings) {
        auto* item = new QTreeWidgetItem(QStringList{
            platform::toQString(checks::severityName(f.severity)), platform::toQString(f.check),
            componentText(f), whereText(f), QString::fromStdString(f.message)});
        item->setIcon(0, f.severity == checks::Severity::Error ? m_errorIcon : m_warningIcon);
        items << item;
    }
    m_rows->addTopLevelItems(items);
    for (int column = 0; column + 1 < m_rows->columnCount(); ++column)
        m_rows->resizeColumnToContents(column);
}

QString ChecksPane::countsLine() const
{
    return m_counts->text();
}

} // namespace app
