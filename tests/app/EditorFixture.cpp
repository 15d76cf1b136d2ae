#include "tests/app/EditorFixture.h"

#include "tests/support/ShipMaker.h"
#include "viewer/ShipViewWidget.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

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

app::MainDialog& Editor::startWithSampleShip()
{
    const fs::path path =
        writeShip("sample.shp", testsupport::buildShip(testsupport::sampleShip()));
    auto& w = start(writePrefix("prefix"), QString::fromStdString(path.string()));
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        qWarning("main window not active");
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

fs::path Editor::dir() const
{
    return fs::path(m_dir.path().toStdString());
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

void inspectNextModal(std::function<void(QWidget&)> inspect)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        poll->stop();
        poll->deleteLater();
        inspect(*modal);
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            box->done(QMessageBox::Ok);
        else if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    });
    poll->start();
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

} // namespace apptests
