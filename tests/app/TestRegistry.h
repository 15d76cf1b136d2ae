#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace apptests {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

/// Every Qt Test class of this executable by name; each test file registers its own.
std::map<std::string, TestFactory>& testRegistry();

struct RegisterTest
{
    RegisterTest(const char* name, TestFactory factory)
    {
        testRegistry()[name] = std::move(factory);
    }
};

} // namespace apptests

#define KORVEX_REGISTER_TEST(Class)                                                                \
    static const apptests::RegisterTest registered##Class(                                         \
        #Class, [] { return std::make_unique<Class>(); })
