#pragma once

#include "shipfile/MessageSink.h"

#include <string>
#include <string_view>

// What every layer's message constants are made of; the texts themselves live with the layer
// that shows them (shipfile/Messages.h, viewer/Messages.h, editing/Messages.h, ...).
namespace shipfile {

/// One message box: its text (holding at most one "%s" to fill in), caption and icon.
struct MessageText
{
    std::string_view text;
    std::string_view caption;
    MessageIcon icon = MessageIcon::None;
    bool ownedByMainWindow = false;

    /// The box as shown, with the first "%s" of its text replaced by `argument`.
    Message box(std::string_view argument = {}) const;
};

namespace messages {

/// The application's name: the caption of every box owned by the main window or a dialog.
inline constexpr std::string_view AppName = "korvex";
/// The product's name: the caption of the editor's questions.
inline constexpr std::string_view ProductName = "Korvex";

/// A box with no owner window and its own caption, as the file model and the viewer show.
constexpr MessageText ownCaption(std::string_view text, std::string_view caption, MessageIcon icon)
{
    return MessageText{text, caption, icon, false};
}

/// A box owned by the main window or a dialog; its caption is the application's name.
constexpr MessageText owned(std::string_view text, MessageIcon icon = MessageIcon::None)
{
    return MessageText{text, AppName, icon, true};
}

/// Replaces the first "%s" of `format` with `argument` (the whole argument, any length).
std::string formatText(std::string_view format, std::string_view argument);
/// `message` with the reason it happened after its text, as in "Error opening x.shp! (Is a
/// directory)"; an empty reason adds nothing.
Message withReason(Message message, std::string_view reason);
/// Replaces the first "%d" of `format` with `value` in signed decimal.
std::string formatNumber(std::string_view format, long long value);

} // namespace messages

} // namespace shipfile
