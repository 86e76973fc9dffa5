// Codes into exceptions.
#include <gtest/gtest.h>

#include <new>

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

TEST(RaiseForErrorCode, UnmappedLinkCodeRaisesSerialLinkException)
{
    try {
        RaiseForErrorCode(-1001);
        FAIL();
    } catch (const EGeneral&) {
        FAIL() << "-1001 has no class of its own";
    } catch (const ESerialException& e) {
        EXPECT_STREQ(e.what(), "Serial link exception");
        EXPECT_EQ(e.ErrorCode(), 0);
    }
}

TEST(RaiseForErrorCode, SystemErrorsBecomeIoErrorsAndMinus8OutOfMemory)
{
    try {
        RaiseForErrorCode(-32);
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 32);
        EXPECT_EQ(std::string(e.what()), ErrorText(32));
    }
    try {
        RaiseForErrorCode(-2);
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 2);
        EXPECT_STREQ(e.what(), "File not found");
    }
    EXPECT_THROW(RaiseForErrorCode(-8), std::bad_alloc);
    // Past the I/O range: the plain link exception.
    EXPECT_THROW(RaiseForErrorCode(-163), ESerialException);
}

TEST(RaiseForErrorCode, MappedCodesRaiseTheirClassWithCodeAndText)
{
    try {
        RaiseForErrorCode(-2008);
        FAIL();
    } catch (const EOpenComm& e) {
        EXPECT_NE(dynamic_cast<const EAlreadyOpen*>(&e), nullptr);
        EXPECT_EQ(e.ErrorCode(), -2008);
        EXPECT_STREQ(e.what(), "ie_Open - device already open");
    }
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
    // A code between mapped ones.
    try {
        RaiseForErrorCode(-7009);
        FAIL();
    } catch (const EINI&) {
        FAIL();
    } catch (const ESerialException& e) {
        EXPECT_EQ(e.ErrorCode(), 0);
    }
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
