#include "app/TexturesDialog.h"

#include "app/MainDialog.h"
#include "app/Messages.h"
#include "app/PathText.h"
#include "gamedata/Messages.h"
#include "gamedata/Png.h"
#include "platform/FileDialogs.h"
#include "platform/QtText.h"
#include "platform/Questions.h"
#include "resources/Strings.h"
#include "shipfile/CaseInsensitive.h"
#include "shipfile/FileAccess.h"
#include "shipfile/MessageSink.h"
#include "shipfile/MessageText.h"
#include "viewer/ShipViewWidget.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace app {

namespace {

namespace strings = resources::strings;
using platform::nameToQString;
using platform::toQString;

constexpr int ThumbnailSide = 64;
constexpr int NameRole = Qt::UserRole;
constexpr int MissingRole = Qt::UserRole + 1;

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QIcon thumbnail(const gamedata::DecodedTexture& texture)
{
    const QImage image(texture.rgba.data(), texture.width, texture.height, texture.width * 4,
                       QImage::Format_RGBA8888);
    QPixmap square(ThumbnailSide, ThumbnailSide);
    square.fill(Qt::transparent);
    const QImage scaled =
        image.scaled(ThumbnailSide, ThumbnailSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter(&square).drawImage((ThumbnailSide - scaled.width()) / 2,
                                (ThumbnailSide - scaled.height()) / 2, scaled);
    return QIcon(square);
}

void showError(MainDialog& window, const std::string& message)
{
    window.sink().show(
        shipfile::messages::owned("%s", shipfile::MessageIcon::Warning).box(message));
}

} // namespace

TexturesDialog::TexturesDialog(MainDialog& window) : QDialog(&window), m_window(window)
{
    setWindowTitle(text(strings::TexturesCaption));
    m_filter = new QLineEdit(this);
    m_filter->setPlaceholderText(text(strings::TexturesFilter));
    m_filter->setClearButtonEnabled(true);
    m_list = new QListWidget(this);
    m_list->setViewMode(QListView::IconMode);
    m_list->setIconSize(QSize(ThumbnailSide, ThumbnailSide));
    m_list->setGridSize(QSize(ThumbnailSide * 2 + 24, ThumbnailSide + 64));
    m_list->setResizeMode(QListView::Adjust);
    m_list->setMovement(QListView::Static);
    m_list->setWordWrap(true);
    auto* hint = new QLabel(text(strings::TexturesHint), this);
    hint->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    m_replace = buttons->addButton(text(strings::ReplaceFromImage), QDialogButtonBox::ActionRole);
    m_add = buttons->addButton(text(strings::AddImage), QDialogButtonBox::ActionRole);
    buttons->addButton(text(strings::CloseButton), QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(m_list, 1);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    // Beside the view rather than over it, so the marked faces stay in sight.
    resize(560, std::max(window.height(), 480));
    const QPoint viewRight =
        window.viewWidget()->mapToGlobal(QPoint(window.viewWidget()->width(), 0));
    move(viewRight.x() + 16, window.mapToGlobal(QPoint(0, 0)).y());

    connect(m_filter, &QLineEdit::textChanged, this, &TexturesDialog::applyFilter);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &TexturesDialog::onSelectionChanged);
    connect(m_replace, &QPushButton::clicked, this, &TexturesDialog::replaceFromImage);
    connect(m_add, &QPushButton::clicked, this, &TexturesDialog::addImage);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    refresh();
}

TexturesDialog::~TexturesDialog()
{
    m_window.setHighlightedTexture({});
    m_window.redrawView();
}

void TexturesDialog::refresh()
{
    std::string keep;
    bool keepMissing = false;
    selected(keep, keepMissing);

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const std::filesystem::path path = m_window.state().texturePath;
    const gamedata::TcacheListing listing = gamedata::listTcache(path);
    const shipfile::ShipFile* ship =
        m_window.state().fileLoaded() ? m_window.state().file() : nullptr;
    const std::vector<gamedata::TextureUse> uses =
        ship ? gamedata::textureUses(*ship) : std::vector<gamedata::TextureUse>{};
    const auto facesOf = [&uses](const std::string& name) {
        const auto use = std::find_if(uses.begin(), uses.end(), [&name](const auto& u) {
            return shipfile::equalsIgnoringCase(u.name, name);
        });
        return use == uses.end() ? -1 : use->faces;
    };
    const auto facesLine = [](int faces) {
        return faces < 0 ? QString() : QLatin1Char('\n') + text(strings::TextureFaces).arg(faces);
    };

    m_list->clear();
    for (const gamedata::TcacheEntryInfo& e : listing.entries) {
        auto* item = new QListWidgetItem(m_list);
        const gamedata::TcacheLookup texture = gamedata::readTcacheEntry(path, e);
        QString label = nameToQString(e.name) + QLatin1Char('\n');
        if (texture.failure == gamedata::TcacheFailure::None) {
            item->setIcon(thumbnail(texture.texture));
            label +=
                text(strings::TextureSize).arg(e.width).arg(e.height).arg(e.format == 1 ? 8 : 16);
        } else {
            label += text(strings::TextureDamaged);
            item->setForeground(Qt::gray);
        }
        // The view shows the first entry of a name; later ones are listed but never drawn.
        const bool shown = listing.find(e.name) == &e;
        item->setText(label + (shown ? facesLine(facesOf(e.name)) : QString()));
        item->setData(NameRole, nameToQString(e.name));
        item->setData(MissingRole, false);
    }
    for (const gamedata::TextureUse& use : uses) {
        if (listing.find(use.name))
            continue;
        auto* item = new QListWidgetItem(m_list);
        item->setText(nameToQString(use.name) + QLatin1Char('\n') + text(strings::TextureMissing) +
                      facesLine(use.faces));
        item->setForeground(Qt::red);
        item->setData(NameRole, nameToQString(use.name));
        item->setData(MissingRole, true);
    }
    QGuiApplication::restoreOverrideCursor();

    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem* item = m_list->item(i);
        if (!keep.empty() && item->data(NameRole).toString() == nameToQString(keep) &&
            item->data(MissingRole).toBool() == keepMissing)
            m_list->setCurrentItem(item);
    }
    applyFilter();
    if (m_list->selectedItems().isEmpty())
        m_list->scrollToTop();
    onSelectionChanged();
}

void TexturesDialog::applyFilter()
{
    const QString filter = m_filter->text().trimmed();
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem* item = m_list->item(i);
        item->setHidden(!item->data(NameRole).toString().contains(filter, Qt::CaseInsensitive));
    }
}

bool TexturesDialog::selected(std::string& name, bool& missing) const
{
    const QList<QListWidgetItem*> items = m_list->selectedItems();
    if (items.isEmpty())
        return false;
    name = items.front()->data(NameRole).toString().toLatin1().toStdString();
    missing = items.front()->data(MissingRole).toBool();
    return true;
}

void TexturesDialog::onSelectionChanged()
{
    std::string name;
    bool missing = false;
    const bool any = selected(name, missing);
    m_replace->setEnabled(any && !missing);
    m_window.setHighlightedTexture(any ? name : std::string());
    m_window.redrawView();
}

void TexturesDialog::replaceFromImage()
{
    std::string name;
    bool missing = false;
    if (!selected(name, missing) || missing)
        return;
    const QString image = m_window.fileDialogs().openFileName(
        this, text(strings::ReplaceImageTitle),
        toQString(m_window.state().texturePath.parent_path()),
        {text(strings::PngFilter), text(strings::AllFilesFilter)});
    if (image.isEmpty())
        return;
    write({gamedata::TextureChange::Kind::Replace, name, {}, gamedata::Bits16}, image,
          toQString(messages::ReplaceTexture));
}

void TexturesDialog::addImage()
{
    std::string name;
    bool missing = false;
    const bool any = selected(name, missing);
    const QString image = m_window.fileDialogs().openFileName(
        this, text(strings::AddImageTitle), toQString(m_window.state().texturePath.parent_path()),
        {text(strings::PngFilter), text(strings::AllFilesFilter)});
    if (image.isEmpty())
        return;
    if (!any || !missing)
        name = toPath(image).stem().string();
    write({gamedata::TextureChange::Kind::Add, name, {}, gamedata::Bits16}, image,
          toQString(messages::AddTexture));
}

bool TexturesDialog::write(gamedata::TextureChange change, const QString& image,
                           const QString& question)
{
    namespace gm = gamedata::messages;
    const std::filesystem::path imagePath = toPath(image);
    const std::filesystem::path cache = m_window.state().texturePath;
    const auto bytes = shipfile::readWholeFile(imagePath, std::size_t{512} << 20);
    const gamedata::PngRead png = bytes ? gamedata::decodePng(*bytes) : gamedata::PngRead{};
    if (!bytes || png.failure != gamedata::PngFailure::None) {
        const std::string_view why = !bytes ? gm::ImageUnreadable
                                     : png.failure == gamedata::PngFailure::TooLarge
                                         ? gm::ImageTooLarge
                                         : gm::ImageNotPng;
        showError(m_window, shipfile::messages::formatText(why, imagePath.string()));
        return false;
    }
    if (!gamedata::isValidTextureName(change.name)) {
        showError(m_window, shipfile::messages::formatText(gm::BadName, change.name));
        return false;
    }
    const QString asked = question.arg(nameToQString(change.name), image, toQString(cache)) +
                          toQString(messages::NotInHistory);
    if (!m_window.questions().confirm(this, asked))
        return false;

    change.picture = png.picture;
    const gamedata::TcacheEdit edit = gamedata::changeTextureFile(cache, change);
    if (!edit.ok) {
        showError(m_window, edit.error);
        return false;
    }
    m_window.viewWidget()->reloadTexture(change.name);
    refresh();
    return true;
}

void browseTextures(MainDialog& window)
{
    TexturesDialog dialog(window);
    dialog.exec();
}

} // namespace app
