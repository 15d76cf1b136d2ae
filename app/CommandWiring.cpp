#include "app/CommandWiring.h"

#include "app/EditStep.h"
#include "app/MainDialog.h"
#include "app/Messages.h"
#include "app/PathText.h"
#include "app/RecentFiles.h"
#include "resources/Strings.h"
#include "shipfile/Catalogue.h"
#include "shipfile/MessageText.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

namespace app {

namespace {

const char* menuTitle(Menu menu)
{
    switch (menu) {
    case Menu::File:
        return "&File";
    case Menu::Edit:
        return "&Edit";
    case Menu::View:
        return "&View";
    case Menu::Help:
        return "&Help";
    }
    return "";
}

/// What the status bar says when `needs` is missing, for the command named `name`.
std::string needsLine(Needs needs, const QString& name)
{
    const std::string_view format = needs == Needs::Ship        ? status::NeedsShip
                                    : needs == Needs::Component ? status::NeedsComponent
                                                                : status::NeedsAttachment;
    return shipfile::messages::formatText(format, name.toStdString());
}

QString keysText(const Command& command)
{
    if (command.keyHint)
        return QString::fromUtf8(command.keyHint);
    QStringList keys;
    for (const QKeySequence& key : command.keys)
        keys << key.toString(QKeySequence::NativeText);
    return keys.join(QStringLiteral(", "));
}

} // namespace

QString stepName(const Command& command)
{
    QString name = QString::fromUtf8(command.text).remove(QLatin1Char('&'));
    if (name.endsWith(QStringLiteral("...")))
        name.chop(3);
    return name;
}

CommandWiring::CommandWiring(MainDialog& window) : m_window(window)
{
    createActions();
    createMenus();
    connectControls();
}

CommandWiring::~CommandWiring() = default;

void CommandWiring::createActions()
{
    for (const Command& row : commandTable()) {
        auto* action = new QAction(QString::fromUtf8(row.text), &m_window);
        action->setShortcuts(row.keys);
        action->setToolTip(QString::fromUtf8(row.tip));
        action->setStatusTip(QString::fromUtf8(row.tip));
        if (row.keyHint)
            action->setText(action->text() + QLatin1Char('\t') + QString::fromUtf8(row.keyHint));
        auto* box = m_window.control<QCheckBox>(row.control);
        action->setCheckable(box != nullptr);
        // An entry of a check box clicks the box, so the box flips and its click runs the
        // command, as the user's own click would.
        const CommandId id = row.id;
        connect(action, &QAction::triggered, this, [this, id, box] {
            if (box)
                box->click();
            else
                run(id);
        });
        // Bound to the window too, so its keys work wherever the focus is in it.
        m_window.addAction(action);
        m_actions[row.id] = action;
    }
}

void CommandWiring::createMenus()
{
    m_menuBar = new QMenuBar(&m_window);
    std::map<Menu, QMenu*> menus;
    for (const Menu menu : {Menu::File, Menu::Edit, Menu::View, Menu::Help})
        menus[menu] = m_menuBar->addMenu(QString::fromUtf8(menuTitle(menu)));
    for (const Command& row : commandTable()) {
        QMenu* menu = menus.at(row.menu);
        if (row.separatorBefore)
            menu->addSeparator();
        menu->addAction(m_actions.at(row.id));
        if (row.id == CommandId::SaveAs) {
            m_recentFilesMenu =
                menu->addMenu(QString::fromUtf8(resources::strings::RecentFilesMenuEntry));
            connect(m_recentFilesMenu, &QMenu::aboutToShow, this,
                    &CommandWiring::refreshRecentFilesMenu);
        }
    }
    refreshRecentFilesMenu();
    m_viewMenu = menus.at(Menu::View);

    // The context menu: the history and the file commands at hand, the rest by menu.
    m_contextMenu = new QMenu(&m_window);
    for (const CommandId id : {CommandId::Undo, CommandId::Redo})
        m_contextMenu->addAction(m_actions.at(id));
    m_contextMenu->addSeparator();
    for (const CommandId id : {CommandId::Open, CommandId::Save, CommandId::SaveAs,
                               CommandId::Import, CommandId::Export})
        m_contextMenu->addAction(m_actions.at(id));
    m_contextMenu->insertMenu(m_actions.at(CommandId::Export), m_recentFilesMenu);
    m_contextMenu->addSeparator();
    m_contextMenu->addMenu(menus.at(Menu::Edit));
    m_contextMenu->addMenu(menus.at(Menu::View));
    m_contextMenu->addSeparator();
    for (const CommandId id : {CommandId::Shortcuts, CommandId::About})
        m_contextMenu->addAction(m_actions.at(id));
}

void CommandWiring::connectControls()
{
    for (const Command& row : commandTable()) {
        auto* control = m_window.control<QAbstractButton>(row.control);
        if (!control)
            continue;
        const CommandId id = row.id;
        // Check boxes flip themselves before the command runs.
        connect(control, &QAbstractButton::clicked, this, [this, id] { run(id); });
    }
}

void CommandWiring::refreshRecentFilesMenu()
{
    m_recentFilesMenu->clear();
    const QStringList paths = recentfiles::paths();
    for (qsizetype n = 0; n < paths.size(); ++n) {
        const QString& path = paths.at(n);
        QString text = QString::number(n + 1) + QLatin1Char(' ') + path;
        text.replace(QLatin1Char('&'), QStringLiteral("&&")).prepend(QLatin1Char('&'));
        QAction* action = m_recentFilesMenu->addAction(text);
        // A file moved or deleted since stays listed, greyed, until newer ones push it out.
        action->setEnabled(QFileInfo(path).isFile());
        connect(action, &QAction::triggered, this,
                [this, path] { m_window.openPath(toPath(path)); });
    }
    if (paths.isEmpty())
        m_recentFilesMenu->addAction(QString::fromUtf8(resources::strings::NoRecentFilesEntry))
            ->setEnabled(false);
}

bool CommandWiring::needsMet(Needs needs) const
{
    const EditorState& state = m_window.state();
    const bool ship = state.fileLoaded();
    const bool component = ship && state.selectedComponent >= 0 &&
                           state.selectedComponent < shipfile::componentCount(*state.file());
    switch (needs) {
    case Needs::Nothing:
        return true;
    case Needs::Ship:
        return ship;
    case Needs::Component:
        return component;
    case Needs::Attachment:
        return component && state.selectedAttachment >= 0;
    }
    return false;
}

void CommandWiring::run(CommandId id)
{
    const Command& row = command(id);
    if (!needsMet(row.needs)) {
        m_window.showStatus(needsLine(row.needs, stepName(row)));
        refresh();
        return;
    }
    m_window.clearStatus();
    if (row.edits) {
        // One step for the whole command, dialogs included; commands never open their own.
        // The animation editor is where playback is watched while frames change.
        const auto playback =
            row.id == CommandId::Animation ? EditStep::Playback::GoesOn : EditStep::Playback::Stops;
        EditStep step(m_window, stepName(row).toStdString(), playback);
        m_step = &step;
        row.run(m_window);
        m_step = nullptr;
    } else {
        row.run(m_window);
    }
    if (row.refresh & RefreshView)
        m_window.redrawView();
    m_window.refreshDocumentState();
}

shipfile::ShipFile& CommandWiring::ship()
{
    Q_ASSERT(m_step);
    return m_step->ship();
}

void CommandWiring::cancelStep()
{
    if (m_step)
        m_step->cancel();
}

void CommandWiring::refresh()
{
    static const editing::History none;
    const EditorState& state = m_window.state();
    const editing::History& history = state.session ? state.session->history() : none;
    for (const Command& row : commandTable()) {
        QAction* action = m_actions.at(row.id);
        bool enabled = needsMet(row.needs);
        if (row.id == CommandId::Undo || row.id == CommandId::Redo) {
            const bool undo = row.id == CommandId::Undo;
            enabled = enabled && (undo ? history.canUndo() : history.canRedo());
            const std::string label = undo ? history.undoLabel() : history.redoLabel();
            QString text = QString::fromUtf8(row.text);
            if (!label.empty())
                text += QLatin1Char(' ') + QString::fromStdString(label);
            action->setText(text);
        }
        action->setEnabled(enabled);
        auto* control = m_window.control<QAbstractButton>(row.control);
        if (!control)
            continue;
        if (auto* box = qobject_cast<QCheckBox*>(control))
            action->setChecked(box->isChecked());
        // The special-block boxes follow the component list's own rules for being enabled.
        if (row.needs != Needs::Nothing && row.id != CommandId::DummyTriangle &&
            row.id != CommandId::Block13 && row.id != CommandId::Block14)
            control->setEnabled(enabled);
        QString tip = QString::fromUtf8(row.tip);
        if (!enabled)
            tip += QLatin1Char('\n') + QString::fromStdString(needsLine(row.needs, stepName(row)));
        control->setToolTip(tip);
    }
}

QString CommandWiring::shortcutList() const
{
    QStringList lines;
    for (const Command& row : commandTable()) {
        const QString keys = keysText(row);
        if (!keys.isEmpty())
            lines << keys + QStringLiteral("\t") + stepName(row);
    }
    lines << QString::fromUtf8(resources::strings::ViewKeysLine)
          << QString::fromUtf8(resources::strings::DragLine)
          << QString::fromUtf8(resources::strings::WheelLine)
          << QString::fromUtf8(resources::strings::FieldsLine);
    return lines.join(QLatin1Char('\n'));
}

} // namespace app
