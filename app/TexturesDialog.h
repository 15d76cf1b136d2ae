#pragma once

#include "gamedata/Tcache.h"
#include "gamedata/TcacheWriter.h"
#include "gamedata/TextureUse.h"

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace app {

class MainDialog;

/// "Textures...": the texture cache as thumbnails with name, size and format, filtered by
/// name. The textures the open ship uses show how many of its faces use them; names the ship
/// uses but the cache lacks are listed in red. Selecting one tints its faces in the view.
/// "Replace from image..." and "Add image..." write the cache after a question, and the view
/// shows the new picture at once. Cache writes are not ship edits and not in the history.
class TexturesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TexturesDialog(MainDialog& window);
    ~TexturesDialog() override;

    /// Reads the cache and the ship's texture names afresh and fills the list.
    void refresh();

private:
    void applyFilter();
    void onSelectionChanged();
    void replaceFromImage();
    void addImage();
    /// Writes `change` with `image` after asking `question`; true when the cache changed.
    bool write(gamedata::TextureChange change, const QString& image, const QString& question);
    /// The selected item's texture name, and whether the cache lacks it.
    bool selected(std::string& name, bool& missing) const;

    MainDialog& m_window;
    QLineEdit* m_filter = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_add = nullptr;
};

/// Opens the texture browser on the editor's texture cache.
void browseTextures(MainDialog& window);

} // namespace app
