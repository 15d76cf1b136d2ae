#pragma once

#include <QObject>

class QString;

namespace app {

class MainDialog;

/// The commands on whole components and on the ship: Delete, the ship class's Change,
/// Animation..., scaling (Larger, Smaller, "type-1 only"), the zoom range field, Create box,
/// Clear box(es), Merge SHP and the three special-block switches. Each does nothing while the
/// file or the component it needs is missing. Owned by the main window, whose controls it
/// connects itself.
class ComponentCommands final : public QObject
{
    Q_OBJECT

public:
    explicit ComponentCommands(MainDialog& window);

    /// Deletes the selected component with its section; afterwards no component is selected
    /// and the attached-objects list is empty.
    void deleteComponent();
    /// Steps the ship class 0 -> 1 -> 2 -> 0; the ship-class field shows it at once.
    void changeShipClass();
    /// Runs the animation editor on the selected component.
    void editAnimation();
    /// Multiplies (Larger) or divides (Smaller) the ship by the factor field's number. A factor
    /// that is not a positive number changes nothing.
    void scaleLarger();
    void scaleSmaller();
    void toggleTypeOneOnly();
    void toggleFlames();
    /// The zoom slider's range becomes 1 to the field's number; other text leaves the range.
    void setZoomRange(const QString& text);
    void createBox();
    void clearBoxes();
    /// Asks for a second ship file and appends its components to the open ship.
    void mergeShipFile();
    void toggleDummyTriangle();
    void toggleBlock13();
    void toggleBlock14();

private:
    void scale(bool larger);
    /// After a command that changed the document: the view and the title show it.
    void documentChanged(bool redraw);

    MainDialog& m_window;
};

} // namespace app
