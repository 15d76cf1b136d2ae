#include "app/MainDialog.h"

#include "app/AboutBox.h"
#include "app/AttachmentCommands.h"
#include "app/ChecksPane.h"
#include "app/ComponentCommands.h"
#include "app/ExportCommand.h"
#include "app/ImportCommand.h"
#include "app/ListPanes.h"
#include "app/Messages.h"
#include "app/PathText.h"
#include "app/RecentFiles.h"
#include "app/ViewControls.h"
#include "app/WindowLayout.h"
#include "checks/Checks.h"
#include "gamedata/GameInstallation.h"
#include "platform/FileDialogs.h"
#include "platform/KeyFilter.h"
#include "platform/QtText.h"
#include "platform/Questions.h"
#include "resources/MainWindowTemplate.h"
#include "resources/Resources.h"
#include "resources/Strings.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Messages.h"
#include "viewer/Camera.h"
#include "viewer/FixedViews.h"
#include "viewer/MouseDrag.h"
#include "viewer/ShipViewWidget.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QUrl>

#include <cmath>

namespace app {

namespace fs = std::filesystem;
namespace id = resources::mainwindow;

namespace {

/// The Checks pane's height below the template's controls.
constexpr int ChecksPaneHeight = 170;

QStringList shipFileFilters()
{
    return {platform::toQString(resources::strings::ShpFilesFilter),
            platform::toQString(resources::strings::AllFilesFilter)};
}

/// The first local file among dropped data, or empty.
QString droppedFile(const QMimeData* data)
{
    if (data)
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                return url.toLocalFile();
    return {};
}

/// A menu entry's text: `entry` and, when there is one, the name of its step.
QString stepEntryText(const char* entry, const std::string& label)
{
    const QString text = QString::fromUtf8(entry);
    return label.empty() ? text : text + QLatin1Char(' ') + QString::fromStdString(label);
}

} // namespace

MainDialog::MainDialog(const Services& services, QWidget* parent)
    : QDialog(parent), m_sink(services.sink), m_questions(services.questions),
      m_fileDialogs(services.fileDialogs), m_winePrefix(services.winePrefix)
{
    resources::initialise();
    platform::buildDialog(*this, resources::MainWindowTemplate);
    m_baseTitle = windowTitle();
    // A window of its own, so window managers let it be maximised.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    m_layout = std::make_unique<WindowLayout>(
        *this, *control<QWidget>(id::ShipGroup), *control<QWidget>(id::ZoomSlider),
        *control<QWidget>(id::ZoomRange),
        std::vector<QWidget*>{control<QWidget>(id::ComponentList),
                              control<QWidget>(id::AttachmentList)});
    setWindowIcon(resources::applicationIcon());

    // Enter starts no command: not in a field, and not on the button that has the focus, where
    // a key held down after dismissing a message box would save or open.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    setStartStates();
    createView();
    m_textures.onTexturesDisabled = [this] {
        control<QCheckBox>(id::TextureMap)->setChecked(false);
    };
    m_listPanes = std::make_unique<ListPanes>(*this);
    m_viewControls = std::make_unique<ViewControls>(*this);
    m_attachmentCommands = std::make_unique<AttachmentCommands>(*this);
    m_componentCommands = std::make_unique<ComponentCommands>(*this);
    connectCommands();
    createChecksPane();
    createMenu();
    setAcceptDrops(true);
    new platform::KeyFilter(*this, [this](QKeyEvent& event) { return handleKey(event); });
}

MainDialog::~MainDialog() = default;

void MainDialog::setStartStates()
{
    auto* views = control<QComboBox>(id::ViewChoice);
    {
        // Choosing the start entry is no view change: the first picture keeps the identity.
        const QSignalBlocker blocker(views);
        for (const std::string_view text : viewer::ViewChoiceTexts)
            views->addItem(platform::toQString(text));
        views->setCurrentIndex(static_cast<int>(viewer::ViewChoice::FreeView));
    }

    auto* zoom = control<QSlider>(id::ZoomSlider);
    {
        const QSignalBlocker blocker(zoom);
        zoom->setRange(viewer::camera::MinZoom, viewer::camera::MaxZoom);
        zoom->setValue(viewer::camera::MinZoom);
    }
    control<QLineEdit>(id::ZoomRange)->setText(QString::number(viewer::camera::MaxZoom));
    control<QLineEdit>(id::ScaleFactor)->setText(QStringLiteral("1.2"));

    m_view.zoom = viewer::camera::MinZoom;
    m_view.textureMap = true;
    m_view.highQualityTextures = true;
    m_view.markSelected = false;
    m_view.centerOnObject = true;
    m_view.ignoreDest = true;
    m_view.showBoxes = true;
    m_state.typeOneOnly = false;
    m_state.scaleFlames = true;
    m_state.rotate = true;

    control<QCheckBox>(id::Flames)->setChecked(true);
    control<QCheckBox>(id::TypeOneOnly)->setChecked(false);
    control<QLineEdit>(id::MouseMode)
        ->setText(platform::toQString(viewer::mouseModeText(viewer::MouseMode::MoveAttachments)));
    control<QCheckBox>(id::HighQualityTextures)->setChecked(true);
    control<QCheckBox>(id::TextureMap)->setChecked(true);
    control<QCheckBox>(id::MarkSelected)->setChecked(false);
    control<QCheckBox>(id::CenterOnObject)->setChecked(true);
    control<QCheckBox>(id::IgnoreDest)->setChecked(true);
    control<QCheckBox>(id::ShowBoxes)->setChecked(true);
    control<QCheckBox>(id::Rotate)->setChecked(true);
}

void MainDialog::createView()
{
    // The view lies over the "Ship" group box: its square frame is anchored at the box's
    // lower-left corner and whatever rises above the box is cut off, so the anchor point of
    // the picture sits in the middle of the box.
    const QRect area = control<QWidget>(id::ShipGroup)->geometry();
    m_templateShipBox = area.size();
    auto* frame = new QWidget(this);
    frame->setGeometry(area);
    m_viewWidget = new viewer::ShipViewWidget(m_view, m_textures, m_sink, frame);
    m_viewWidget->move(0, area.height() - m_viewWidget->height());
    frame->hide();
    m_viewWidget->setSceneProvider([this] { return scene(); });
}

void MainDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

void MainDialog::placeControls()
{
    if (!m_layout || !m_viewWidget)
        return;
    m_layout->apply();
    // The view's frame is the "Ship" box; the view grows with it and keeps standing on the
    // box's lower-left corner, so the picture keeps its scale and its anchor stays in the
    // middle of the box.
    const QRect area = control<QWidget>(id::ShipGroup)->geometry();
    QWidget* frame = m_viewWidget->parentWidget();
    frame->setGeometry(area);
    const QSize extra = area.size() - m_templateShipBox;
    m_viewWidget->resize(viewer::camera::ViewportPixels + extra.width(),
                         viewer::camera::ViewportPixels + extra.height());
    m_viewWidget->move(0, area.height() - m_viewWidget->height());
    redrawView();
}

viewer::Scene MainDialog::scene() const
{
    return viewer::Scene{m_state.fileLoaded() ? m_state.file() : nullptr, m_state.selectedComponent,
                         m_state.selectedAttachment, &m_highlight};
}

void MainDialog::setZoom(double zoom)
{
    m_view.zoom = viewer::camera::clampZoom(zoom);
    auto* slider = control<QSlider>(id::ZoomSlider);
    {
        const QSignalBlocker blocker(slider);
        slider->setValue(static_cast<int>(std::lround(m_view.zoom)));
    }
    redrawView();
}

void MainDialog::connectCommands()
{
    const auto onClick = [this](int controlId, void (MainDialog::*command)()) {
        connect(control<QPushButton>(controlId), &QPushButton::clicked, this, command);
    };
    onClick(id::OpenShp, &MainDialog::openShpFile);
    onClick(id::Save, &MainDialog::save);
    onClick(id::Exit, &MainDialog::reject);

    connect(control<QSlider>(id::ZoomSlider), &QSlider::valueChanged, this,
            &MainDialog::onZoomChanged);
}

void MainDialog::createMenu()
{
    namespace strings = resources::strings;
    const auto entry = [this](const char* text, const QList<QKeySequence>& keys) {
        auto* action = new QAction(QString::fromUtf8(text), this);
        action->setShortcuts(keys);
        addAction(action);
        return action;
    };
    const auto separator = [this] {
        auto* action = new QAction(this);
        action->setSeparator(true);
        addAction(action);
    };

    m_undoAction = entry(strings::UndoMenuEntry, {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    connect(m_undoAction, &QAction::triggered, this, &MainDialog::undo);
    m_redoAction = entry(strings::RedoMenuEntry, {QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(m_redoAction, &QAction::triggered, this, &MainDialog::redo);
    separator();

    connect(entry(strings::OpenMenuEntry, {QKeySequence(Qt::CTRL | Qt::Key_O)}),
            &QAction::triggered, this, &MainDialog::openShpFile);
    connect(entry(strings::SaveMenuEntry, {QKeySequence(Qt::CTRL | Qt::Key_S)}),
            &QAction::triggered, this, &MainDialog::save);
    connect(entry(strings::SaveAsMenuEntry, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}),
            &QAction::triggered, this, &MainDialog::saveAs);
    m_recentFilesMenu = new QMenu(QString::fromUtf8(strings::RecentFilesMenuEntry), this);
    connect(m_recentFilesMenu, &QMenu::aboutToShow, this, &MainDialog::refreshRecentFilesMenu);
    addAction(m_recentFilesMenu->menuAction());
    refreshRecentFilesMenu();
    connect(entry(strings::ImportMenuEntry, {}), &QAction::triggered, this,
            [this] { importIntoOpenShip(*this); });
    connect(entry(strings::ExportMenuEntry, {}), &QAction::triggered, this,
            [this] { exportOpenShip(*this); });
    separator();

    m_checksAction = entry(strings::ChecksMenuEntry, {});
    m_checksAction->setCheckable(true);
    connect(m_checksAction, &QAction::toggled, this, &MainDialog::setChecksPaneShown);
    separator();

    connect(entry(strings::AboutMenuEntry, {}), &QAction::triggered, this, &MainDialog::showAbout);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    refreshHistoryEntries();
}

void MainDialog::createChecksPane()
{
    m_checksPane = new ChecksPane(this);
    m_checksPane->hide();
    m_layout->setBottomPane(*m_checksPane, ChecksPaneHeight);
    connect(m_checksPane, &ChecksPane::findingActivated, this, &MainDialog::goToFinding);
}

void MainDialog::setChecksPaneShown(bool shown)
{
    if (shown == !m_checksPane->isHidden())
        return;
    m_checksPane->setVisible(shown);
    {
        const QSignalBlocker blocker(m_checksAction);
        m_checksAction->setChecked(shown);
    }
    if (isMaximized() || isFullScreen()) {
        placeControls();
        return;
    }
    // The height is taken before the minimum size changes with the pane, which would already
    // resize the window.
    const int height = this->height() + (shown ? ChecksPaneHeight : -ChecksPaneHeight);
    m_layout->apply();
    resize(width(), height);
    // A window that grew past the bottom of the screen moves up, so the pane shows.
    if (const QScreen* display = screen()) {
        const QRect room = display->availableGeometry();
        const int over = frameGeometry().bottom() - room.bottom();
        if (over > 0)
            move(x(), std::max(room.top(), y() - over));
    }
    placeControls();
}

void MainDialog::refreshChecks()
{
    m_highlight = {};
    m_checksPane->showFindings(
        m_state.fileLoaded() ? std::optional(checks::checkShip(*m_state.file())) : std::nullopt);
}

const std::vector<checks::Finding>& MainDialog::findings() const
{
    return m_checksPane->findings();
}

void MainDialog::goToFinding(int index)
{
    const std::vector<checks::Finding>& listed = findings();
    if (index < 0 || static_cast<std::size_t>(index) >= listed.size())
        return;
    // A copy: choosing the component below runs commands that may refresh the list.
    const checks::Finding f = listed[static_cast<std::size_t>(index)];
    m_highlight = {};
    if (!f.component) {
        // A finding about the file as a whole: nothing to go to, and the last marks go.
        redrawView();
        return;
    }
    m_listPanes->chooseComponent(*f.component);
    if (f.subject == checks::Subject::Attachment && f.record)
        m_listPanes->chooseAttachment(static_cast<int>(*f.record));
    m_highlight.component = *f.component;
    if (f.subject == checks::Subject::Faces)
        m_highlight.faces = f.items;
    else if (f.subject == checks::Subject::Vertices)
        m_highlight.vertices = f.items;
    m_viewControls->fitView();
    redrawView();
}

void MainDialog::start(const QString& commandLineFile)
{
    const gamedata::GameInstallation game = gamedata::findGameInstallation(m_winePrefix, m_sink);
    if (!game.found)
        control<QCheckBox>(id::TextureMap)->setChecked(false); // the view's flag stays set
    m_state.texturePath = game.texturePath;
    m_state.shipsDirectory = game.shipsDirectory;
    m_textures.setTexturePath(game.texturePath.string());

    m_state.selectedAttachment = m_state.selectedComponent = -1;
    m_listPanes->refreshSpecialBlockBoxes();

    if (!commandLineFile.isEmpty())
        loadDocument(fs::absolute(toPath(commandLineFile)));
    refreshDocumentState();
}

void MainDialog::redrawView()
{
    m_viewWidget->redraw();
}

bool MainDialog::hasUnsavedChanges() const
{
    return m_state.session && m_state.session->modified();
}

void MainDialog::refreshDocumentState()
{
    refreshShipClass();
    refreshTitle();
}

void MainDialog::openShpFile()
{
    if (!confirmDiscardChanges())
        return;
    const QString chosen = chooseShipFile();
    if (chosen.isEmpty())
        return;
    loadDocument(toPath(chosen));
}

QString MainDialog::chooseShipFile()
{
    return m_fileDialogs.openFileName(this, toQString(m_state.shipsDirectory), shipFileFilters());
}

void MainDialog::openPath(const fs::path& path)
{
    if (confirmDiscardChanges())
        loadDocument(path);
}

void MainDialog::save()
{
    if (!m_state.fileLoaded())
        return;
    saveDocument(m_state.currentFileName);
}

void MainDialog::saveAs()
{
    if (!m_state.fileLoaded())
        return;
    const QString chosen =
        m_fileDialogs.saveFileName(this, toQString(m_state.currentFileName), shipFileFilters());
    if (!chosen.isEmpty())
        saveDocument(fs::absolute(toPath(chosen)));
}

void MainDialog::undo()
{
    // A drag still under way ends here, so it is the step taken back.
    m_viewControls->finishDrag();
    if (m_state.session && m_state.session->undo())
        showRestoredDocument();
}

void MainDialog::redo()
{
    m_viewControls->finishDrag();
    if (m_state.session && m_state.session->redo())
        showRestoredDocument();
}

void MainDialog::refreshHistoryEntries()
{
    static const editing::History none;
    const editing::History& history = m_state.session ? m_state.session->history() : none;
    m_undoAction->setEnabled(history.canUndo());
    m_undoAction->setText(stepEntryText(resources::strings::UndoMenuEntry, history.undoLabel()));
    m_redoAction->setEnabled(history.canRedo());
    m_redoAction->setText(stepEntryText(resources::strings::RedoMenuEntry, history.redoLabel()));
    refreshChecks();
    refreshDocumentState();
}

void MainDialog::showRestoredDocument()
{
    m_listPanes->clearLists();
    m_listPanes->listComponents();
    m_listPanes->showSelection();
    redrawView();
    refreshHistoryEntries();
}

void MainDialog::refreshRecentFilesMenu()
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
        connect(action, &QAction::triggered, this, [this, path] { openPath(toPath(path)); });
    }
    if (paths.isEmpty())
        m_recentFilesMenu->addAction(QString::fromUtf8(resources::strings::NoRecentFilesEntry))
            ->setEnabled(false);
}

void MainDialog::showAbout()
{
    AboutBox about(this);
    about.exec();
}

void MainDialog::reject()
{
    if (confirmDiscardChanges())
        QDialog::reject();
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainDialog::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop is over: the save question must not hold up the program the file
    // came from.
    QMetaObject::invokeMethod(
        this, [this, path] { openPath(fs::absolute(toPath(path))); }, Qt::QueuedConnection);
}

void MainDialog::loadDocument(const fs::path& path)
{
    m_viewControls->finishDrag();
    m_state.session.reset();
    m_state.currentFileName = path;

    auto file = loadShipFile(path);

    m_state.selectedAttachment = m_state.selectedComponent = -1;
    m_listPanes->clearLists();
    m_shownShipClass.reset();
    m_viewWidget->forgetShownProblems();

    if (!file->empty()) {
        m_state.session = std::make_unique<editing::Session>(std::move(file));
        m_listPanes->listComponents();
        recentfiles::add(toQString(path));
    }
    m_listPanes->refreshSpecialBlockBoxes();
    // Without a ship the bare "Ship" box shows, not the last picture of the ship before.
    m_viewWidget->parentWidget()->setVisible(m_state.fileLoaded());
    redrawView();
    refreshHistoryEntries();
    if (checks::countFindings(findings()).errors > 0)
        setChecksPaneShown(true);
}

std::unique_ptr<shipfile::ShipFile> MainDialog::loadShipFile(const fs::path& path)
{
    auto file = std::make_unique<shipfile::ShipFile>(path, m_sink);
    if (file->empty() && file->loadResult() == shipfile::LoadResult::Complete)
        m_sink.show(shipfile::messages::NoBlocks.box(path.string()));
    return file;
}

bool MainDialog::confirmDiscardChanges()
{
    if (!hasUnsavedChanges())
        return true;
    const QString text = QString::fromStdString(shipfile::messages::formatText(
        messages::SaveChanges, m_state.currentFileName.filename().string()));
    switch (m_questions.askToSave(this, text)) {
    case platform::SaveAnswer::Save:
        return saveDocument(m_state.currentFileName);
    case platform::SaveAnswer::Discard:
        return true;
    case platform::SaveAnswer::Cancel:
        return false;
    }
    return false;
}

bool MainDialog::saveDocument(const fs::path& path)
{
    // Errors ask once per save; warnings never do.
    if (const int errors = checks::countFindings(findings()).errors; errors > 0) {
        const std::string text =
            errors == 1 ? std::string(messages::SaveWithOneError)
                        : shipfile::messages::formatNumber(messages::SaveWithErrors, errors);
        if (!m_questions.confirmSave(this, QString::fromStdString(text)))
            return false;
    }
    // A failed save has shown its message and leaves the document unsaved.
    if (!m_state.file()->save(path))
        return false;
    m_state.currentFileName = path;
    m_state.session->markSaved(); // a drag under way ends in its step first
    recentfiles::add(toQString(path));
    refreshHistoryEntries();
    return true;
}

void MainDialog::refreshShipClass()
{
    QString text;
    if (m_state.fileLoaded())
        if (const auto shipClass = shipfile::shipClass(*m_state.file()))
            text = QString::fromStdString(shipfile::shipClassText(*shipClass));
    if (m_shownShipClass == text)
        return;
    control<QLineEdit>(id::ShipClass)->setText(text);
    m_shownShipClass = text;
}

void MainDialog::refreshTitle()
{
    if (!m_state.fileLoaded()) {
        setWindowTitle(m_baseTitle);
        setWindowModified(false);
        return;
    }
    setWindowTitle(m_baseTitle + QStringLiteral(" - ") +
                   toQString(m_state.currentFileName.filename()) + QStringLiteral("[*]"));
    setWindowModified(hasUnsavedChanges());
}

void MainDialog::onZoomChanged(int position)
{
    m_view.zoom = position;
    redrawView();
}

bool MainDialog::handleKey(QKeyEvent& event)
{
    if (event.key() == Qt::Key_F1 && event.modifiers() == Qt::NoModifier) {
        showAbout();
        return true;
    }
    return m_viewControls->handleKey(event);
}

} // namespace app
