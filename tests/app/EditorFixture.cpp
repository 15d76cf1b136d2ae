#include "tests/app/EditorFixture.h"

#include "tests/support/ShipMaker.h"
#include "viewer/ShipViewWidget.h"

#include <QImage>
#include <QPushButton>
#include <QTest>

#include <fstream>
#include <iterator>

namespace apptests {

platform::SaveAnswer ScriptedQuestions::askToSave(QWidget* owner, const QString& text)
{
    asked << text;
    lastOwner = owner;
    return answer;
}

QString ScriptedFileDialogs::openFileName(QWidget*, const QString& startDirectory,
                                          const QStringList& nameFilters)
{
    ++calls;
    directory = startDirectory;
    filters = nameFilters;
    return answer;
}

QString ScriptedFileDialogs::saveFileName(QWidget*, const QString& path, const QStringList&)
{
    saveStartPath = path;
    return saveAnswer;
}

QString ScriptedFileDialogs::exportFileName(QWidget*, const QString& suggested,
                                            const QStringList& nameFilters, QString& chosenFilter)
{
    exportSuggested = suggested;
    exportFilters = nameFilters;
    chosenFilter = exportFilter;
    return exportAnswer;
}

Editor::Editor() = default;
Editor::~Editor() = default;

app::MainDialog& Editor::open(const testsupport::Ship& ship)
{
    const fs::path path = writeShip("sample.shp", testsupport::buildShip(ship));
    auto& w = start(writePrefix("prefix"), pathText(path));
    activate(w);
    return w;
}

app::MainDialog& Editor::start(const fs::path& prefix, const QString& commandLineFile)
{
    m_window = std::make_unique<app::MainDialog>(app::Services{sink, questions, files, prefix});
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("main window not exposed");
    m_window->start(commandLineFile);
    return *m_window;
}

fs::path Editor::writeShip(const std::string& name, const testsupport::ByteVector& image) const
{
    const fs::path path = dir() / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    return path;
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
    const QColor background = image.pixelColor(0, image.height() - 1);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - background.red()) + std::abs(c.green() - background.green()) +
                    std::abs(c.blue() - background.blue()) >
                12)
                ++count;
        }
    return count;
}

ModalDriver::ModalDriver(std::function<void(QDialog&)> act) : m_act(std::move(act))
{
    m_poll.setInterval(10);
    QObject::connect(&m_poll, &QTimer::timeout, [this] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog == m_last)
            return;
        m_last = dialog;
        ++shown;
        m_act(*dialog);
    });
    m_poll.start();
}

void activate(QWidget& window)
{
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        qWarning("window not active");
}

testsupport::ByteVector readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return testsupport::ByteVector(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

void click(app::MainDialog& window, int controlId)
{
    QWidget* control = window.control<QWidget>(controlId);
    if (auto* box = qobject_cast<QCheckBox*>(control))
        clickCheckBox(box);
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
    list->scrollToItem(list->item(row));
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void clickCheckBox(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
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

} // namespace apptests
