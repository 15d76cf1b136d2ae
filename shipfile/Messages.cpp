#include "shipfile/Messages.h"

namespace shipfile::messages {

namespace {
std::string replaceFirst(std::string_view format, std::string_view token, std::string_view with)
{
    std::string out(format);
    if (const auto at = out.find(token); at != std::string::npos)
        out.replace(at, token.size(), with);
    return out;
}
} // namespace

std::string formatText(std::string_view format, std::string_view argument)
{
    return replaceFirst(format, "%s", argument);
}

std::string formatNumber(std::string_view format, long long value)
{
    return replaceFirst(format, "%d", std::to_string(value));
}

Message ownCaption(std::string text, std::string_view caption, MessageIcon icon)
{
    return Message{std::move(text), std::string(caption), icon, false};
}

Message owned(std::string text, MessageIcon icon)
{
    return Message{std::move(text), std::string(AppName), icon, true};
}

} // namespace shipfile::messages
