#include "app/MainDialog.h"

#include "app/AboutBox.h"
#include "app/AttachmentCommands.h"
#include "app/ComponentCommands.h"
#include "app/GameInstallation.h"
#include "app/ListPanes.h"
#include "app/PathText.h"
#include "app/ViewControls.h"
#include "app/WindowLayout.h"
#include "platform/FileDialogs.h"
#include "platform/KeyFilter.h"
#include "platform/Questions.h"
#include "resources/MainWindowTemplate.h"
#include "resources/Resources.h"
#include "resources/Strings.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Messages.h"
#include "viewer/FixedViews.h"
#include "viewer/MouseDrag.h"
#include "viewer/ShipViewWidget.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <cmath>

namespace app {

namespace fs = std::filesystem;
namespace id = resources::mainwindow;
namespace messages = shipfile::messages;

namespace {

constexpr int ZoomMinimum = 1;
constexpr int ZoomMaximum = 500;
constexpr int DocumentRefreshMilliseconds = 200;

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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
    setWindowIcon(QIcon(fromView(resources::strings::IconResource)));

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

    auto* about = new QAction(fromView(resources::strings::AboutMenuEntry), this);
    connect(about, &QAction::triggered, this, &MainDialog::showAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
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
            views->addItem(fromView(text));
        views->setCurrentIndex(static_cast<int>(viewer::ViewChoice::FreeView));
    }

    auto* zoom = control<QSlider>(id::ZoomSlider);
    {
        const QSignalBlocker blocker(zoom);
        zoom->setRange(ZoomMinimum, ZoomMaximum);
        zoom->setValue(ZoomMinimum);
    }
    control<QLineEdit>(id::ZoomRange)->setText(QString::number(ZoomMaximum));
    control<QLineEdit>(id::ScaleFactor)->setText(QStringLiteral("1.2"));

    m_view.zoom = ZoomMinimum;
    m_view.textureMap = 1;
    m_view.highQualityTextures = 1;
    m_view.markSelected = 0;
    m_view.centerOnObject = 1;
    m_view.ignoreDest = 1;
    m_view.showBoxes = 1;
    m_state.typeOneOnly = false;
    m_state.rotate = true;

    control<QCheckBox>(id::Flames)->setChecked(true);
    control<QCheckBox>(id::TypeOneOnly)->setChecked(false);
    control<QLineEdit>(id::MouseMode)
        ->setText(fromView(viewer::mouseModeText(viewer::MouseMode::MoveAttachments)));
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
    return viewer::Scene{m_state.fileLoaded ? m_state.file.get() : nullptr,
                         m_state.selectedComponent, m_state.selectedAttachment};
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

    connect(&m_documentTimer, &QTimer::timeout, this, &MainDialog::refreshDocumentState);
}

void MainDialog::start(const QString& commandLineFile)
{
    const GameInstallation game = findGameInstallation(m_winePrefix, m_sink);
    if (!game.found)
        control<QCheckBox>(id::TextureMap)->setChecked(false); // the view's flag stays set
    m_state.texturePath = game.texturePath;
    m_state.shipsDirectory = game.shipsDirectory;
    m_textures.setTexturePath(game.texturePath.string());

    m_documentTimer.start(DocumentRefreshMilliseconds);
    m_state.selectedAttachment = m_state.selectedComponent = -1;

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
    return m_state.fileLoaded && m_state.file && !m_state.file->matchesImage(m_state.savedImage);
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
    const QStringList filters = {fromView(resources::strings::ShpFilesFilter),
                                 fromView(resources::strings::AllFilesFilter)};
    return m_fileDialogs.openFileName(this, toQString(m_state.shipsDirectory), filters);
}

void MainDialog::save()
{
    if (!m_state.fileLoaded)
        return;
    saveDocument();
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

void MainDialog::loadDocument(const fs::path& path)
{
    m_state.file.reset();
    m_state.fileLoaded = false;
    m_state.savedImage.clear();
    m_state.currentFileName = path;

    auto file = std::make_unique<shipfile::ShipFile>(path, m_sink);

    m_state.selectedAttachment = m_state.selectedComponent = -1;
    m_listPanes->clearLists();
    m_shownShipClass.reset();

    if (!file->empty()) {
        m_state.file = std::move(file);
        m_state.fileLoaded = true;
        m_state.savedImage = m_state.file->serialise();
        m_listPanes->listComponents();
    }
    // Without a ship the bare "Ship" box shows, not the last picture of the ship before.
    m_viewWidget->parentWidget()->setVisible(m_state.fileLoaded);
    redrawView();
    refreshDocumentState();
}

bool MainDialog::confirmDiscardChanges()
{
    if (!hasUnsavedChanges())
        return true;
    const QString text = QString::fromStdString(
        messages::formatText(messages::SaveChanges, m_state.currentFileName.filename().string()));
    switch (m_questions.askToSave(this, text)) {
    case platform::SaveAnswer::Save:
        return saveDocument();
    case platform::SaveAnswer::Discard:
        return true;
    case platform::SaveAnswer::Cancel:
        return false;
    }
    return false;
}

bool MainDialog::saveDocument()
{
    // A failed save has shown its message and leaves the document unsaved.
    if (!m_state.file->save(m_state.currentFileName))
        return false;
    m_state.savedImage = m_state.file->serialise();
    refreshDocumentState();
    return true;
}

void MainDialog::refreshShipClass()
{
    QString text;
    if (m_state.fileLoaded)
        if (const auto shipClass = shipfile::shipClass(*m_state.file))
            text = QString::fromStdString(shipfile::shipClassText(*shipClass));
    if (m_shownShipClass == text)
        return;
    control<QLineEdit>(id::ShipClass)->setText(text);
    m_shownShipClass = text;
}

void MainDialog::refreshTitle()
{
    if (!m_state.fileLoaded) {
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
