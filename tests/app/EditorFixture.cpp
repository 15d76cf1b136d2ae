#include "tests/app/EditorFixture.h"

#include "platform/QtText.h"
#include "resources/MainWindowTemplate.h"
#include "viewer/Camera.h"
#include "viewer/ShipViewWidget.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace apptests {

namespace id = resources::mainwindow;

namespace {
// Makes `window` the active one, where its shortcuts work. On a loaded machine the X server can
// drop a request made while the window is still settling, so it is asked again.
void activate(QWidget& window, const char* warning)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        window.activateWindow();
        if (QTest::qWaitForWindowActive(&window, 2000))
            return;
    }
    qWarning("%s", warning);
}
} // namespace

app::MainDialog& Editor::open(const testsupport::Ship& ship)
{
    auto& w = start(pathText(writeShip("sample.shp", testsupport::buildShip(ship))));
    activate(w, "main window not active");
    // The tests place the pointer by the framing before the fit that opening does: the
    // smallest zoom about the ship's origin.
    w.view().center = {};
    w.setZoom(viewer::camera::MinZoom);
    return w;
}

app::MainDialog& Editor::start(const QString& commandLineFile, fs::path prefix)
{
    if (prefix.empty())
        prefix = writePrefix("prefix");
    m_window = std::make_unique<app::MainDialog>(app::Services{sink, questions, files, prefix});
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("main window not exposed");
    m_window->start(commandLineFile);
    return *m_window;
}

fs::path Editor::writePrefix(const std::string& name, bool withKey, bool withValue) const
{
    const fs::path prefix = dir() / name;
    const fs::path game = prefix / "drive_c" / "Games" / "Vantaris";
    fs::create_directories(game / "ships");
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    testsupport::TcacheBuilder()
        .solid16("hull_plate", 8, 8, 0x7BEF)
        .solid16("engine_glow", 8, 8, 0xFC00)
        .write(game / "tcachehw.dat");

    testsupport::GameRegistryEntry registry;
    registry.hasKey = withKey;
    if (!withValue)
        registry.currentDirectory.clear();
    testsupport::writeSystemReg(prefix, registry);
    return prefix;
}

QImage Editor::picture()
{
    return m_window->viewWidget()->grabFramebuffer();
}

int Editor::shipPixels()
{
    const QImage image = picture();
    const QRgb background = image.pixel(0, image.height() - 1);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != background ? 1 : 0;
    return count;
}

ModalDriver::ModalDriver(std::function<void(QDialog&)> act)
    : m_act(std::move(act)), m_owner(QApplication::activeWindow())
{
    m_poll.setInterval(10);
    QObject::connect(&m_poll, &QTimer::timeout, [this] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog == m_last)
            return;
        m_last = dialog;
        ++shown;
        if (!m_owner && dialog->parentWidget())
            m_owner = dialog->parentWidget()->window();
        m_act(*dialog);
    });
    m_poll.start();
}

ModalDriver::~ModalDriver()
{
    if (shown == 0 || !m_owner || m_owner->isActiveWindow())
        return;
    activate(*m_owner, "window not active again after its dialog");
}

QString entryText(const QAction* action)
{
    return action->text().remove(QLatin1Char('&'));
}

QAction* menuEntry(const QWidget& window, const QString& text)
{
    for (QAction* action : window.findChildren<QAction*>())
        if (entryText(action).startsWith(text))
            return action;
    qFatal("no menu entry %s", qPrintable(text));
}

void click(app::MainDialog& window, int controlId)
{
    QWidget* control = window.control<QWidget>(controlId);
    if (auto* box = qobject_cast<QCheckBox*>(control))
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    else
        qobject_cast<QPushButton*>(control)->click();
}

void clickEntry(app::MainDialog& window, int listId, int row)
{
    clickRow(window.control<QListWidget>(listId), row);
}

void doubleClickEntry(app::MainDialog& window, int listId, int row)
{
    QListWidget* list = window.control<QListWidget>(listId);
    clickRow(list, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualItemRect(list->item(row)).center());
}

bool isChecked(app::MainDialog& window, int boxId)
{
    return window.control<QCheckBox>(boxId)->isChecked();
}

QStringList listed(app::MainDialog& window, int listId)
{
    return entries(window.control<QListWidget>(listId));
}

int highlightedRow(app::MainDialog& window, int listId)
{
    auto* list = window.control<QListWidget>(listId);
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

void chooseView(app::MainDialog& window, viewer::ViewChoice choice)
{
    auto* views = window.control<QComboBox>(id::ViewChoice);
    views->setCurrentIndex(static_cast<int>(choice));
    emit views->activated(static_cast<int>(choice));
}

void setMouseMode(app::MainDialog& window, viewer::MouseMode mode)
{
    const QString wanted = platform::toQString(viewer::mouseModeText(mode));
    for (int n = 0; n < 3 && window.control<QLineEdit>(id::MouseMode)->text() != wanted; ++n)
        press(window, Qt::Key_Shift);
}

void press(app::MainDialog& window, Qt::Key key)
{
    QTest::keyClick(window.focusWidget() ? window.focusWidget() : &window, key);
}

} // namespace apptests
