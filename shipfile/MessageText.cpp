#include "shipfile/MessageText.h"

namespace shipfile {

namespace {
std::string replaceFirst(std::string_view format, std::string_view token, std::string_view with)
{
    std::string out(format);
    if (const auto at = out.find(token); at != std::string::npos)
        out.replace(at, token.size(), with);
    return out;
}
} // namespace

Message MessageText::box(std::string_view argument) const
{
    return Message{messages::formatText(text, argument), std::string(caption), icon,
                   ownedByMainWindow};
}

namespace messages {

std::string formatText(std::string_view format, std::string_view argument)
{
    return replaceFirst(format, "%s", argument);
}

Message withReason(Message message, std::string_view reason)
{
    if (!reason.empty())
        message.text += " (" + std::string(reason) + ")";
    return message;
}

std::string formatNumber(std::string_view format, long long value)
{
    return replaceFirst(format, "%d", std::to_string(value));
}

} // namespace messages

} // namespace shipfile
