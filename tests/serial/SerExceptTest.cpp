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

TEST(RaiseForErrorCode, CodesOfZeroAndAboveAreReturned)
{
    EXPECT_EQ(RaiseForErrorCode(5), 5);
    EXPECT_EQ(RaiseForErrorCode(0), 0);
    // Nothing is raised while the component is being loaded.
    EXPECT_EQ(RaiseForErrorCode(-2008, true), -2008);
}

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

TEST(RaiseForErrorCode, UnmappedLinkCodeRaisesSerialLinkException)
{
    for (int code : { -1001, -163, -7009 }) {
        auto e = Raised<ESerialException>(code);
        ASSERT_TRUE(e) << code;
        EXPECT_STREQ(e->what(), "Serial link exception");
        EXPECT_EQ(e->ErrorCode(), 0);
        EXPECT_FALSE(Raised<EGeneral>(code) || Raised<EINI>(code));
    }
}

TEST(RaiseForErrorCode, SystemErrorsBecomeIoErrorsAndMinus8OutOfMemory)
{
    auto e = Raised<EInOutError>(-32);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->ErrorCode(), 32);
    EXPECT_EQ(std::string(e->what()), ErrorText(32));
    e = Raised<EInOutError>(-2);
    ASSERT_TRUE(e);
    EXPECT_STREQ(e->what(), "File not found");
    EXPECT_THROW(RaiseForErrorCode(-8), std::bad_alloc);
}

TEST(RaiseForErrorCode, MappedCodesRaiseTheirClassWithCodeAndText)
{
    auto e = Raised<EOpenComm>(-2008);
    ASSERT_TRUE(e);
    EXPECT_TRUE(Raised<EAlreadyOpen>(-2008));
    EXPECT_EQ(e->ErrorCode(), -2008);
    EXPECT_STREQ(e->what(), "ie_Open - device already open");
    EXPECT_THROW(RaiseForErrorCode(-2001), EBadId);
    EXPECT_THROW(RaiseForErrorCode(-2011), ENoPortSelected);
    EXPECT_THROW(RaiseForErrorCode(-3007), EBufferIsEmpty);
    EXPECT_THROW(RaiseForErrorCode(-5001), ENoMoreTriggers);
    EXPECT_THROW(RaiseForErrorCode(-5003), ETrigger);
    EXPECT_THROW(RaiseForErrorCode(-7003), EInternal);
    EXPECT_THROW(RaiseForErrorCode(-7012), EGeneral);
    EXPECT_THROW(RaiseForErrorCode(-6008), EProtocol);
    EXPECT_THROW(RaiseForErrorCode(-8070), EFaxPageError);
    EXPECT_THROW(RaiseForErrorCode(-13942), ETapiTranslateFail);
    EXPECT_THROW(RaiseForErrorCode(-13980), ERas);
}

TEST(ESerialException, CodeWithoutTextGivesEmptyMessage)
{
    ESerialException e(-4001);
    EXPECT_EQ(e.ErrorCode(), -4001);
    EXPECT_STREQ(e.what(), "");
    ESerialException t("Dispatcher already started");
    EXPECT_EQ(t.ErrorCode(), 0);
}

} // namespace
} // namespace serial
