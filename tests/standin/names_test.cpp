// Names written into SQL and connection strings read from a project file: a name is quoted or
// refused, a driver is one the driver manager registered and gets its options only where the
// project left them open, and a password is never shown.
#include "ConnectionString.h"
#include "Identifier.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using namespace standin;
using ::testing::HasSubstr;

TEST(Names, ANameIsQuotedWithItsQuotesDoubledOrNotWrittenAtAll) {
    EXPECT_EQ(Identifier::quoted("\"", "we\"ird; DROP TABLE t; --"), "\"we\"\"ird; DROP TABLE t; --\"");
    EXPECT_EQ(Identifier::quoted("`", "a`b"), "`a``b`");
    EXPECT_EQ(Identifier::quoted("\"", ""), "\"\"");
    EXPECT_THROW(Identifier::quoted("", "items"), Unquotable);
}

TEST(Names, AProjectFileNamesOnlyRegisteredDriversWhateverItsSpelling) {
    const std::vector<std::string> registered{"PostgreSQL ANSI", "SQLite3"};
    auto refusal = [&](const std::string& text) { return ConnectionString::refusal(text, registered); };
    EXPECT_EQ(refusal("DRIVER={PostgreSQL ANSI};SERVER=/tmp/x;PWD=pw"), "");
    EXPECT_EQ(refusal(" driver = sqlite3 ;DATABASE=/tmp/a.db"), "");
    EXPECT_EQ(refusal("DSN=stock;UID=a"), "");
    // A value in braces is one value: a DRIVER inside a password is no driver.
    EXPECT_EQ(refusal("PWD={a;}}DRIVER=/tmp/evil.so};DRIVER=SQLite3"), "");
    EXPECT_THAT(refusal("DRIVER=/tmp/evil.so;DATABASE=x"), HasSubstr("DRIVER=/tmp/evil.so is a path"));
    EXPECT_THAT(refusal("DRIVER={C:\\x\\evil.dll}"), HasSubstr("is a path"));
    EXPECT_THAT(refusal("DATABASE=x;Driver={SQLite3};DRIVER=libevil.so"),
                HasSubstr("DRIVER=libevil.so is not a driver registered with the ODBC driver manager"));
    EXPECT_THAT(refusal("DSN=x;FileDSN=/tmp/a.dsn"), HasSubstr("FILEDSN= is not accepted"));
    EXPECT_THAT(refusal("DSN=x;SAVEFILE=/tmp/a.dsn"), HasSubstr("SAVEFILE= is not accepted"));
}

TEST(Names, APasswordIsNeverShownWhereverItSits) {
    using ConnectionString::withoutPassword;
    EXPECT_EQ(withoutPassword("UID=a;PWD={x;}}y};DATABASE=d"), "UID=a;PWD=****;DATABASE=d");
    EXPECT_EQ(withoutPassword("pwd=abc"), "pwd=****");
    EXPECT_EQ(withoutPassword("Password = secret ;PWD=two;UID=u"), "Password =****;PWD=****;UID=u");
    EXPECT_EQ(withoutPassword("DRIVER=SQLite3;DATABASE=/tmp/a.db"), "DRIVER=SQLite3;DATABASE=/tmp/a.db");
    EXPECT_EQ(withoutPassword("PWD="), "PWD=****");
}

TEST(Names, DriverOptionsGoOnlyWhereTheProjectSetNoneAndTheDriverIsTheOneNamedFirst) {
    using ConnectionString::driverOf;
    using ConnectionString::withOptions;
    const std::vector<std::pair<std::string, std::string>> blocks{{"UseDeclareFetch", "1"}, {"Fetch", "256"}};
    EXPECT_EQ(withOptions("DRIVER={PostgreSQL ANSI};SERVER=h", blocks),
              "DRIVER={PostgreSQL ANSI};SERVER=h;UseDeclareFetch=1;Fetch=256");
    EXPECT_EQ(withOptions("DSN=stock;usedeclarefetch = 0;", blocks),
              "DSN=stock;usedeclarefetch = 0;Fetch=256");
    EXPECT_EQ(withOptions("PWD={x;Fetch=1}", blocks), "PWD={x;Fetch=1};UseDeclareFetch=1;Fetch=256");
    const std::map<std::string, std::string> sources{{"STOCK", "PostgreSQL Unicode"}};
    EXPECT_EQ(driverOf("dsn=Stock;UID=a", sources), "PostgreSQL Unicode");
    EXPECT_EQ(driverOf("DRIVER={SQLite3};DSN=stock", sources), "SQLite3");
    EXPECT_EQ(driverOf("DSN=other;DRIVER=SQLite3", sources), "");
    EXPECT_EQ(driverOf("DATABASE=x", sources), "");
}

} // namespace
