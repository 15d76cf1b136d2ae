#include "app/MainDialog.h"

#include "app/AboutBox.h"
#include "app/AttachmentCommands.h"
#include "app/ChecksPane.h"
#include "app/CommandWiring.h"
#include "app/ComponentCommands.h"
#include "app/ExportCommand.h"
#include "app/ImportCommand.h"
#include "app/ListPanes.h"
#include "app/Messages.h"
#include "app/PathText.h"
#include "app/PreviewControls.h"
#include "app/RecentFiles.h"
#include "app/TexturesDialog.h"
#include "app/ViewControls.h"
#include "app/WindowLayout.h"
#include "checks/Checks.h"
#include "gamedata/GameInstallation.h"
#include "gamedata/Messages.h"
#include "platform/FileDialogs.h"
#include "platform/KeyFilter.h"
#include "platform/QtText.h"
#include "platform/Questions.h"
#include "resources/MainWindowTemplate.h"
#include "resources/Resources.h"
#include "resources/Strings.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Messages.h"
#include "viewer/Camera.h"
#include "viewer/FixedViews.h"
#include "viewer/MouseDrag.h"
#include "viewer/ShipViewWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QUrl>

#include <cmath>

namespace app {

namespace fs = std::filesystem;
namespace id = resources::mainwindow;

namespace {

/// The game folder the user chose, in the user's settings.
const QString GameFolderKey = QStringLiteral("gameFolder");
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

/// A file size as the status bar gives it: "108 KB".
std::string sizeText(std::uintmax_t bytes)
{
    return QLocale::system()
        .formattedDataSize(static_cast<qint64>(bytes), 0, QLocale::DataSizeTraditionalFormat)
        .toStdString();
}

std::string fileName(const fs::path& path)
{
    return path.filename().string();
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
    m_commands = std::make_unique<CommandWiring>(*this);
    createBars();
    m_layout = std::make_unique<WindowLayout>(
        *this, *control<QWidget>(id::ShipGroup), *control<QWidget>(id::ZoomSlider),
        *control<QWidget>(id::ZoomRange),
        std::vector<QWidget*>{control<QWidget>(id::ComponentList),
                              control<QWidget>(id::AttachmentList)},
        *m_commands->menuBar(), *m_statusBar);
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
    m_preview = std::make_unique<PreviewControls>(*this);
    connectCommands();
    // Playback keeps its own entry: its text says Play or Stop as the timers run.
    m_commands->viewMenu()->addAction(m_preview->playAction());
    createChecksPane();
    m_checksAction = m_commands->action(CommandId::Checks);
    m_checksAction->setCheckable(true);
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
        zoom->setRange(0, viewer::camera::SliderSteps);
        zoom->setValue(0);
    }
    control<QLineEdit>(id::ZoomRange)->setText(QString::number(viewer::camera::MaxZoom));
    control<QLineEdit>(id::ZoomRange)
        ->setToolTip(QString::fromUtf8(resources::strings::ZoomRangeTip));
    control<QLineEdit>(id::ScaleFactor)->setText(QStringLiteral("1.2"));

    m_view.zoom = viewer::camera::MinZoom;
    m_view.textureMap = true;
    m_view.highQualityTextures = true;
    m_view.markSelected = false;
    m_view.centerOnObject = true;
    m_view.ignoreDest = true;
    m_view.showBoxes = true;
    m_view.preview = false;
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
    control<QCheckBox>(id::Preview)->setChecked(false);
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
    viewer::Scene scene{m_state.fileLoaded() ? m_state.file() : nullptr, m_state.selectedComponent,
                        m_state.selectedAttachment, &m_highlight};
    if (m_preview)
        m_preview->stamp(scene);
    return scene;
}

void MainDialog::setZoom(double zoom)
{
    m_view.zoom = viewer::camera::clampZoom(zoom);
    auto* slider = control<QSlider>(id::ZoomSlider);
    {
        const QSignalBlocker blocker(slider);
        slider->setValue(viewer::camera::sliderPosition(m_view.zoom, m_farthestZoom));
    }
    redrawView();
}

void MainDialog::setFarthestZoom(int farthest)
{
    m_farthestZoom = farthest;
    // A zoom past the new end comes back to it, as the slider does.
    setZoom(std::min(m_view.zoom, static_cast<double>(farthest)));
}

void MainDialog::connectCommands()
{
    connect(control<QSlider>(id::ZoomSlider), &QSlider::valueChanged, this,
            &MainDialog::onZoomChanged);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { m_commands->contextMenu()->popup(mapToGlobal(at)); });
    m_commands->refresh();
}

void MainDialog::createBars()
{
    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(false);
    m_pointer = new QLabel(m_statusBar);
    m_pointer->setObjectName(QStringLiteral("pointerCoordinates"));
    // Room for most coordinates, so the counts beside them do not jump as the pointer moves.
    m_pointer->setMinimumWidth(
        m_pointer->fontMetrics().horizontalAdvance(QStringLiteral("X -8888.88  Y -8888.88")));
    m_pointer->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_shipSummary = new QLabel(m_statusBar);
    m_checkCounts = new QLabel(m_statusBar);
    m_statusBar->addPermanentWidget(m_pointer);
    m_statusBar->addPermanentWidget(m_shipSummary);
    m_statusBar->addPermanentWidget(m_checkCounts);
}

void MainDialog::showPointerCoordinates(const std::string& text)
{
    m_pointer->setText(QString::fromStdString(text));
}

void MainDialog::runCommand(CommandId id)
{
    m_commands->run(id);
}

void MainDialog::showStatus(const std::string& line)
{
    m_statusBar->showMessage(QString::fromStdString(line));
}

void MainDialog::clearStatus()
{
    m_statusBar->clearMessage();
}

QString MainDialog::statusLine() const
{
    return m_statusBar->currentMessage();
}

void MainDialog::refreshShipSummary()
{
    if (!m_state.fileLoaded()) {
        m_shipSummary->clear();
        return;
    }
    const std::vector<shipfile::ComponentParts> parts =
        shipfile::allComponentParts(*m_state.file());
    int faces = 0;
    int attachments = 0;
    for (const shipfile::ComponentParts& component : parts) {
        faces += component.faces ? static_cast<int>(component.faces->count()) : 0;
        attachments += component.attachments ? static_cast<int>(component.attachments->count()) : 0;
    }
    const int components = static_cast<int>(parts.size());
    namespace messages = shipfile::messages;
    std::string text = messages::formatText(status::ShipSummary, fileName(m_state.currentFileName));
    for (const int count : {components, faces, attachments})
        text = messages::formatNumber(text, count);
    m_shipSummary->setText(QString::fromStdString(text));
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
    m_checkCounts->setText(m_state.fileLoaded() ? QString::fromStdString(checks::countsText(
                                                      checks::countFindings(findings())))
                                                : QString());
}

QString MainDialog::checkCountsLine() const
{
    return m_checkCounts->text();
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
    // The Wine prefix first, as the game itself is found; then the folder the user chose in an
    // earlier run; only when neither leads to the game does the registry say what is missing.
    gamedata::GameInstallation game = gamedata::findGameInFolder(m_winePrefix);
    const QString chosen = QSettings().value(GameFolderKey).toString();
    if (!game.found && !chosen.isEmpty())
        game = gamedata::findGameInFolder(toPath(chosen));
    if (!game.found)
        game =
            gamedata::findGameInstallation(m_winePrefix, m_sink, gamedata::messages::NoGameAdvice);
    if (!game.found)
        control<QCheckBox>(id::TextureMap)->setChecked(false); // the view's flag stays set
    useGame(game);

    m_state.selectedAttachment = m_state.selectedComponent = -1;
    m_listPanes->refreshSpecialBlockBoxes();

    if (!commandLineFile.isEmpty())
        loadDocument(fs::absolute(toPath(commandLineFile)));
    refreshDocumentState();
}

void MainDialog::useGame(const gamedata::GameInstallation& game)
{
    m_state.texturePath = game.texturePath;
    m_state.shipsDirectory = game.shipsDirectory;
    m_textures.setTexturePath(game.texturePath.string());
}

void MainDialog::chooseGameFolder()
{
    const QString folder =
        m_fileDialogs.folderName(this, QString::fromUtf8(resources::strings::GameFolderTitle),
                                 toQString(m_state.texturePath.parent_path()));
    if (folder.isEmpty())
        return;
    const gamedata::GameInstallation game = gamedata::findGameInFolder(toPath(folder));
    namespace messages = shipfile::messages;
    if (!game.found) {
        showStatus(messages::formatText(status::NoGameInFolder, folder.toStdString()));
        return;
    }
    useGame(game);
    QSettings().setValue(GameFolderKey, folder);
    // The textures come back on, drawn from the new cache.
    m_view.textureMap = true;
    control<QCheckBox>(id::TextureMap)->setChecked(true);
    showStatus(messages::formatText(status::GameFound, game.texturePath.string()));
}

void MainDialog::redrawView()
{
    m_viewWidget->redraw();
    if (m_preview)
        m_preview->planRedraw();
}

bool MainDialog::hasUnsavedChanges() const
{
    return m_state.session && m_state.session->modified();
}

void MainDialog::refreshDocumentState()
{
    refreshShipClass();
    refreshTitle();
    refreshShipSummary();
    m_commands->refresh();
}

void MainDialog::openShpFile()
{
    if (!confirmDiscardChanges())
        return;
    const QString chosen = chooseShipFile(resources::strings::OpenTitle);
    if (chosen.isEmpty())
        return;
    loadDocument(toPath(chosen));
}

QString MainDialog::chooseShipFile(const char* title)
{
    return m_fileDialogs.openFileName(this, QString::fromUtf8(title),
                                      toQString(m_state.shipsDirectory), shipFileFilters());
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

void MainDialog::exportShip()
{
    if (const auto written = exportOpenShip(*this))
        showStatus(shipfile::messages::formatText(status::Exported, fileName(*written)));
}

void MainDialog::saveAs()
{
    if (!m_state.fileLoaded())
        return;
    const QString chosen =
        m_fileDialogs.saveFileName(this, QString::fromUtf8(resources::strings::SaveAsTitle),
                                   toQString(m_state.currentFileName), shipFileFilters());
    if (!chosen.isEmpty())
        saveDocument(fs::absolute(toPath(chosen)));
}

void MainDialog::undo()
{
    // A drag still under way ends here, so it is the step taken back.
    m_viewControls->finishDrag();
    m_preview->stop();
    const std::string label = m_state.session ? m_state.session->history().undoLabel() : "";
    if (m_state.session && m_state.session->undo()) {
        showRestoredDocument();
        showStatus(shipfile::messages::formatText(status::Undone, label));
    }
}

void MainDialog::redo()
{
    m_viewControls->finishDrag();
    m_preview->stop();
    const std::string label = m_state.session ? m_state.session->history().redoLabel() : "";
    if (m_state.session && m_state.session->redo()) {
        showRestoredDocument();
        showStatus(shipfile::messages::formatText(status::Redone, label));
    }
}

void MainDialog::refreshHistoryEntries()
{
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

void MainDialog::showAbout()
{
    AboutBox about(this);
    about.exec();
}

void MainDialog::showShortcuts()
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(resources::strings::ShortcutsTitle),
                    m_commands->shortcutList(), QMessageBox::Close, this);
    box.exec();
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
    m_documentSink.packed = false;
    auto file = loadShipFile(path, m_documentSink);
    // A file that cannot be read has said why; the ship that was open stays open.
    if (file->empty())
        return;
    m_preview->stop();
    m_openedPacked = m_documentSink.packed;
    m_state.session = std::make_unique<editing::Session>(std::move(file));
    m_state.currentFileName = path;
    m_state.selectedAttachment = m_state.selectedComponent = -1;
    m_listPanes->clearLists();
    m_shownShipClass.reset();
    m_viewWidget->forgetShownProblems();
    m_listPanes->listComponents();
    recentfiles::add(toQString(path));
    m_listPanes->refreshSpecialBlockBoxes();
    m_viewWidget->parentWidget()->setVisible(true);
    // A new ship fills the view, whatever the zoom was for the last one.
    m_viewControls->fitView();
    redrawView();
    refreshHistoryEntries();
    const std::string opened = shipfile::messages::formatText(status::Opened, fileName(path));
    showStatus(m_openedPacked
                   ? opened + ": " + std::string(shipfile::messages::CompressedNotice.text)
                   : opened);
    if (checks::countFindings(findings()).errors > 0)
        setChecksPaneShown(true);
}

std::unique_ptr<shipfile::ShipFile> MainDialog::loadShipFile(const fs::path& path)
{
    return loadShipFile(path, m_sink);
}

std::unique_ptr<shipfile::ShipFile> MainDialog::loadShipFile(const fs::path& path,
                                                             shipfile::MessageSink& sink)
{
    auto file = std::make_unique<shipfile::ShipFile>(path, sink);
    if (file->empty() && file->loadResult() == shipfile::LoadResult::Complete)
        sink.show(shipfile::messages::NoBlocks.box(path.string()));
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
    std::error_code error;
    const std::string line = shipfile::messages::formatText(
        shipfile::messages::formatText(m_openedPacked ? status::SavedUnpacked : status::Saved,
                                       fileName(path)),
        sizeText(fs::file_size(path, error)));
    showStatus(line);
    m_openedPacked = false;
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
    m_view.zoom = viewer::camera::sliderZoom(position, m_farthestZoom);
    redrawView();
}

bool MainDialog::handleKey(QKeyEvent& event)
{
    // Space plays and stops while the view has the focus; elsewhere it presses buttons. Its
    // release reaches here too and does nothing.
    if (event.key() == Qt::Key_Space && event.modifiers() == Qt::NoModifier &&
        focusWidget() == m_viewWidget) {
        if (event.type() != QEvent::KeyPress)
            return true;
        m_preview->togglePlayback();
        return true;
    }
    return m_viewControls->handleKey(event);
}

} // namespace app
