#include "editing/Session.h"

namespace editing {

Session::Session(std::unique_ptr<shipfile::ShipFile> ship, History history)
    : m_ship(std::move(ship)), m_history(std::move(history))
{
    m_history.clear();
    m_image = m_ship->serialise();
    markSaved();
}

bool Session::begin(std::string name)
{
    if (m_stepOpen)
        return false;
    m_stepOpen = true;
    m_stepName = std::move(name);
    return true;
}

bool Session::commit()
{
    if (!m_stepOpen)
        return false;
    m_stepOpen = false;
    History::Image after = m_ship->serialise();
    if (!m_history.record(std::move(m_stepName), m_image, after))
        return false;
    m_image = std::move(after);
    return true;
}

bool Session::rollback()
{
    if (!m_stepOpen)
        return false;
    m_stepOpen = false;
    if (m_ship->matchesImage(m_image))
        return false;
    m_ship->restore(m_image);
    return true;
}

bool Session::undo()
{
    commit();
    if (!m_history.undo(m_image))
        return false;
    showImage();
    return true;
}

bool Session::redo()
{
    commit();
    if (!m_history.redo(m_image))
        return false;
    showImage();
    return true;
}

void Session::showImage()
{
    // The images are the ship's own, so they always load whole.
    m_ship->restore(m_image);
}

bool Session::modified() const
{
    if (m_stepOpen && !m_ship->matchesImage(m_image))
        return true;
    if (m_history.reaches(m_savedPosition))
        return m_history.position() != m_savedPosition;
    return m_image != m_savedImage;
}

void Session::markSaved()
{
    commit();
    m_savedImage = m_image;
    m_savedPosition = m_history.position();
}

std::size_t Session::bytesHeld() const
{
    return m_history.bytes() + m_image.capacity() + m_savedImage.capacity();
}

} // namespace editing
