// Codes into exceptions.
#include <gtest/gtest.h>

#include <new>
#include <optional>

#include "serial/SerExcept.h"
#include "serial/SerMisc.h"

namespace serial
{
namespace
{

// The exception of type E that RaiseForErrorCode raises for the code.
template <class E> std::optional<E> Raised(int code)
{
    try {
        RaiseForErrorCode(code);
    } catch (const E& e) {
        return e;
    } catch (...) {
    }
    return std::nullopt;
}

TEST(RaiseForErrorCode, CodesOfZeroAndAboveAndAnyWhileLoadingAreReturned)
{
    EXPECT_EQ(RaiseForErrorCode(5), 5);
    EXPECT_EQ(RaiseForErrorCode(0), 0);
    EXPECT_EQ(RaiseForErrorCode(-2008, true), -2008);
}

TEST(RaiseForErrorCode, MappedCodesRaiseTheirClassWithCodeAndText)
{
    auto e = Raised<EAlreadyOpen>(-2008);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->ErrorCode(), -2008);
    EXPECT_STREQ(e->what(), "ie_Open - device already open");
    // One code of each group, at the group's edges.
    EXPECT_TRUE(Raised<EBadId>(-2001));
    EXPECT_TRUE(Raised<ENoPortSelected>(-2011));
    EXPECT_TRUE(Raised<EBufferIsEmpty>(-3007));
    EXPECT_TRUE(Raised<ENoMoreTriggers>(-5001));
    EXPECT_TRUE(Raised<ETrigger>(-5003));
    EXPECT_TRUE(Raised<EInternal>(-7003));
    EXPECT_TRUE(Raised<EGeneral>(-7012));
    EXPECT_TRUE(Raised<EProtocol>(-6008));
    EXPECT_TRUE(Raised<EFaxPageError>(-8070));
    EXPECT_TRUE(Raised<ETapiTranslateFail>(-13942));
    EXPECT_TRUE(Raised<ERas>(-13980));
}

TEST(RaiseForErrorCode, UnmappedSystemAndMemoryCodes)
{
    for (int code : { -1001, -163, -7009 }) {
        auto e = Raised<ESerialException>(code);
        ASSERT_TRUE(e) << code;
        EXPECT_STREQ(e->what(), "Serial link exception");
        EXPECT_EQ(e->ErrorCode(), 0);
        EXPECT_FALSE(Raised<EGeneral>(code) || Raised<EINI>(code));
    }
    auto io = Raised<EInOutError>(-32);
    ASSERT_TRUE(io);
    EXPECT_EQ(io->ErrorCode(), 32);
    EXPECT_EQ(std::string(io->what()), ErrorText(32));
    EXPECT_STREQ(Raised<EInOutError>(-2)->what(), "File not found");
    EXPECT_THROW(RaiseForErrorCode(-8), std::bad_alloc);
}

} // namespace
} // namespace serial
