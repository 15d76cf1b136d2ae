#include "tools/StderrSink.h"

#include "shipfile/Messages.h"

#include <cstdio>
#include <string>

namespace tools {

void StderrSink::show(const shipfile::Message& message)
{
    // The window warns that a packed file is about to be unpacked; on the command line the
    // unpacking is what the user asked for.
    if (message.text == shipfile::messages::CompressedNotice.text)
        return;
    std::string line = message.caption + ": " + message.text;
    // Some texts end in a newline of their own; one line break is enough on a terminal.
    if (line.empty() || line.back() != '\n')
        line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stderr);
    if (message.icon == shipfile::MessageIcon::Stop ||
        message.icon == shipfile::MessageIcon::Warning)
        m_sawProblem = true;
}

} // namespace tools
