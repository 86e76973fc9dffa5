#pragma once
// Error codes of the serial link and the exceptions they turn into.
//
// Every failure inside the link is a negative integer code, grouped by
// thousands; only the component's surface turns a code into an exception
// (RaiseForErrorCode). -2 to -162 are negated system/runtime I/O error numbers.

#include <stdexcept>
#include <string>

namespace serial
{

// Codes the engine and the component return.
constexpr int ecOK = 0;
constexpr int ecFileNotFound = -2;
constexpr int ecPathNotFound = -3;
constexpr int ecAccessDenied = -5;
constexpr int ecOutOfMemory = -8;
constexpr int ecBadArgument = -1002;
constexpr int ecBadId = -2001;
constexpr int ecNotOpen = -2007;
constexpr int ecAlreadyOpen = -2008;
constexpr int ecNoPortSelected = -2011;
constexpr int ecNotOpenedByTapi = -2012;
constexpr int ecNullApi = -3001;
constexpr int ecPutBlockFail = -3004;
constexpr int ecOutputBufferTooSmall = -3006;
constexpr int ecBufferIsEmpty = -3007;
constexpr int ecBaseAddressNotSet = -3010;
constexpr int ecNoMoreTriggers = -5001;
constexpr int ecTriggerTooLong = -5002;
constexpr int ecBadTriggerHandle = -5003;

// Root of the serial link's exceptions: a message and the error code (0 when
// created from a text).
class ESerialException : public std::runtime_error
{
public:
    // Message = ErrorText of the code's magnitude.
    explicit ESerialException(int code);
    explicit ESerialException(const std::string& text);
    explicit ESerialException(const char* text)
        : ESerialException(std::string(text))
    {
    }
    int ErrorCode() const { return errorCode_; }
    std::string Message() const { return what(); }

private:
    int errorCode_;
};

// The runtime's input/output error: a text and the (positive) error number.
class EInOutError : public std::runtime_error
{
public:
    EInOutError(const std::string& text, int errorCode)
        : std::runtime_error(text)
        , errorCode_(errorCode)
    {
    }
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};

#define KV_SERIAL_EXCEPTION(Name, Base)                                                                      \
    class Name : public Base                                                                                 \
    {                                                                                                        \
    public:                                                                                                  \
        using Base::Base;                                                                                    \
    };

// The ten groups.
KV_SERIAL_EXCEPTION(EGeneral, ESerialException)
KV_SERIAL_EXCEPTION(EOpenComm, ESerialException)
KV_SERIAL_EXCEPTION(ESerialIO, ESerialException)
KV_SERIAL_EXCEPTION(EModem, ESerialException)
KV_SERIAL_EXCEPTION(ETrigger, ESerialException)
KV_SERIAL_EXCEPTION(EProtocol, ESerialException)
KV_SERIAL_EXCEPTION(EINI, ESerialException)
KV_SERIAL_EXCEPTION(EFax, ESerialException)
KV_SERIAL_EXCEPTION(ETapi, ESerialException)
KV_SERIAL_EXCEPTION(ERas, ESerialException)

// The leaves, in the order of their codes (-1002 to -13980).
KV_SERIAL_EXCEPTION(EBadArgument, EGeneral)
KV_SERIAL_EXCEPTION(EGotQuitMsg, EGeneral)
KV_SERIAL_EXCEPTION(EBufferTooBig, EGeneral)
KV_SERIAL_EXCEPTION(EPortNotAssigned, EGeneral)
KV_SERIAL_EXCEPTION(EInternal, EGeneral)
KV_SERIAL_EXCEPTION(EModemNotAssigned, EGeneral)
KV_SERIAL_EXCEPTION(EPhonebookNotAssigned, EGeneral)
KV_SERIAL_EXCEPTION(ECannotUseWithWinSock, EGeneral)
KV_SERIAL_EXCEPTION(EBadId, EOpenComm)
KV_SERIAL_EXCEPTION(EBaudRate, EOpenComm)
KV_SERIAL_EXCEPTION(EByteSize, EOpenComm)
KV_SERIAL_EXCEPTION(EDefault, EOpenComm)
KV_SERIAL_EXCEPTION(EHardware, EOpenComm)
KV_SERIAL_EXCEPTION(EMemory, EOpenComm)
KV_SERIAL_EXCEPTION(ECommNotOpen, EOpenComm)
KV_SERIAL_EXCEPTION(EAlreadyOpen, EOpenComm)
KV_SERIAL_EXCEPTION(ENoHandles, EOpenComm)
KV_SERIAL_EXCEPTION(ENoTimers, EOpenComm)
KV_SERIAL_EXCEPTION(ENoPortSelected, EOpenComm)
KV_SERIAL_EXCEPTION(ENotOpenedByTapi, EOpenComm)
KV_SERIAL_EXCEPTION(ENullApi, ESerialIO)
KV_SERIAL_EXCEPTION(ERegisterHandlerFailed, ESerialIO)
KV_SERIAL_EXCEPTION(EPutBlockFail, ESerialIO)
KV_SERIAL_EXCEPTION(EGetBlockFail, ESerialIO)
KV_SERIAL_EXCEPTION(EOutputBufferTooSmall, ESerialIO)
KV_SERIAL_EXCEPTION(EBufferIsEmpty, ESerialIO)
KV_SERIAL_EXCEPTION(ETracingNotEnabled, ESerialIO)
KV_SERIAL_EXCEPTION(ELoggingNotEnabled, ESerialIO)
KV_SERIAL_EXCEPTION(EBaseAddressNotSet, ESerialIO)
KV_SERIAL_EXCEPTION(EModemNotStarted, EModem)
KV_SERIAL_EXCEPTION(EModemBusy, EModem)
KV_SERIAL_EXCEPTION(EModemNotDialing, EModem)
KV_SERIAL_EXCEPTION(ENotDialing, EModem)
KV_SERIAL_EXCEPTION(EAlreadyDialing, EModem)
KV_SERIAL_EXCEPTION(EModemNotResponding, EModem)
KV_SERIAL_EXCEPTION(EModemRejectedCommand, EModem)
KV_SERIAL_EXCEPTION(EModemStatusMismatch, EModem)
KV_SERIAL_EXCEPTION(ENoMoreTriggers, ETrigger)
KV_SERIAL_EXCEPTION(ETriggerTooLong, ETrigger)
KV_SERIAL_EXCEPTION(EBadTriggerHandle, ETrigger)
KV_SERIAL_EXCEPTION(EKeyTooLong, EINI)
KV_SERIAL_EXCEPTION(EDataTooLarge, EINI)
KV_SERIAL_EXCEPTION(EIniWrite, EINI)
KV_SERIAL_EXCEPTION(EIniRead, EINI)
KV_SERIAL_EXCEPTION(ERecordExists, EINI)
KV_SERIAL_EXCEPTION(ERecordNotFound, EINI)
KV_SERIAL_EXCEPTION(EDatabaseFull, EINI)
KV_SERIAL_EXCEPTION(EDatabaseEmpty, EINI)
KV_SERIAL_EXCEPTION(EBadFieldList, EINI)
KV_SERIAL_EXCEPTION(EBadFieldForIndex, EINI)
KV_SERIAL_EXCEPTION(EFaxBadFormat, EFax)
KV_SERIAL_EXCEPTION(EBadGraphicsFormat, EFax)
KV_SERIAL_EXCEPTION(EConvertAbort, EFax)
KV_SERIAL_EXCEPTION(EUnpackAbort, EFax)
KV_SERIAL_EXCEPTION(ECantMakeBitmap, EFax)
KV_SERIAL_EXCEPTION(EInvalidPageNumber, EFax)
KV_SERIAL_EXCEPTION(EFaxBadMachine, EFax)
KV_SERIAL_EXCEPTION(EFaxBadModemResult, EFax)
KV_SERIAL_EXCEPTION(EFaxTrainError, EFax)
KV_SERIAL_EXCEPTION(EFaxInitError, EFax)
KV_SERIAL_EXCEPTION(EFaxBusy, EFax)
KV_SERIAL_EXCEPTION(EFaxVoiceCall, EFax)
KV_SERIAL_EXCEPTION(EFaxDataCall, EFax)
KV_SERIAL_EXCEPTION(EFaxNoDialTone, EFax)
KV_SERIAL_EXCEPTION(EFaxNoCarrier, EFax)
KV_SERIAL_EXCEPTION(EFaxSessionError, EFax)
KV_SERIAL_EXCEPTION(EFaxPageError, EFax)
KV_SERIAL_EXCEPTION(ETapiAllocated, ETapi)
KV_SERIAL_EXCEPTION(ETapiBadDeviceID, ETapi)
KV_SERIAL_EXCEPTION(ETapiBearerModeUnavail, ETapi)
KV_SERIAL_EXCEPTION(ETapiCallUnavail, ETapi)
KV_SERIAL_EXCEPTION(ETapiCompletionOverrun, ETapi)
KV_SERIAL_EXCEPTION(ETapiConferenceFull, ETapi)
KV_SERIAL_EXCEPTION(ETapiDialBilling, ETapi)
KV_SERIAL_EXCEPTION(ETapiDialDialtone, ETapi)
KV_SERIAL_EXCEPTION(ETapiDialPrompt, ETapi)
KV_SERIAL_EXCEPTION(ETapiDialQuiet, ETapi)
KV_SERIAL_EXCEPTION(ETapiIncompatibleApiVersion, ETapi)
KV_SERIAL_EXCEPTION(ETapiIncompatibleExtVersion, ETapi)
KV_SERIAL_EXCEPTION(ETapiIniFileCorrupt, ETapi)
KV_SERIAL_EXCEPTION(ETapiInUse, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalAddress, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalAddressID, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalAddressMode, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalAddressState, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalAppHandle, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalAppName, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalBearerMode, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalCallComplMode, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalCallHandle, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalCallParams, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalCallPrivilege, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalCallSelect, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalCallState, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalCallStatelist, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalCard, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalCompletionID, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalConfCallHandle, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalConsultCallHandle, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalCountryCode, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalDeviceClass, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalDeviceHandle, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalDialParams, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalDigitList, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalDigitMode, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalDigits, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalExtVersion, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalGroupID, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalLineHandle, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalLineState, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalLocation, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalMediaList, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalMediaMode, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalMessageID, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalParam, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalParkID, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalParkMode, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalPointer, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalPrivSelect, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalRate, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalRequestMode, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalTerminalID, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalTerminalMode, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalTimeout, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalTone, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalToneList, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalToneMode, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalTransferMode, ETapi)
KV_SERIAL_EXCEPTION(ETapiLineMapperFailed, ETapi)
KV_SERIAL_EXCEPTION(ETapiNoConference, ETapi)
KV_SERIAL_EXCEPTION(ETapiNoDevice, ETapi)
KV_SERIAL_EXCEPTION(ETapiNoDriver, ETapi)
KV_SERIAL_EXCEPTION(ETapiNoMem, ETapi)
KV_SERIAL_EXCEPTION(ETapiNoRequest, ETapi)
KV_SERIAL_EXCEPTION(ETapiNotOwner, ETapi)
KV_SERIAL_EXCEPTION(ETapiNotRegistered, ETapi)
KV_SERIAL_EXCEPTION(ETapiOperationFailed, ETapi)
KV_SERIAL_EXCEPTION(ETapiOperationUnavail, ETapi)
KV_SERIAL_EXCEPTION(ETapiRateUnavail, ETapi)
KV_SERIAL_EXCEPTION(ETapiResourceUnavail, ETapi)
KV_SERIAL_EXCEPTION(ETapiRequestOverrun, ETapi)
KV_SERIAL_EXCEPTION(ETapiStructureTooSmall, ETapi)
KV_SERIAL_EXCEPTION(ETapiTargetNotFound, ETapi)
KV_SERIAL_EXCEPTION(ETapiTargetSelf, ETapi)
KV_SERIAL_EXCEPTION(ETapiUninitialized, ETapi)
KV_SERIAL_EXCEPTION(ETapiUserUserInfoTooBig, ETapi)
KV_SERIAL_EXCEPTION(ETapiReinit, ETapi)
KV_SERIAL_EXCEPTION(ETapiAddressBlocked, ETapi)
KV_SERIAL_EXCEPTION(ETapiBillingRejected, ETapi)
KV_SERIAL_EXCEPTION(ETapiInvalFeature, ETapi)
KV_SERIAL_EXCEPTION(ETapiNoMultipleInstance, ETapi)
KV_SERIAL_EXCEPTION(ETapiBusy, ETapi)
KV_SERIAL_EXCEPTION(ETapiNotSet, ETapi)
KV_SERIAL_EXCEPTION(ETapiNoSelect, ETapi)
KV_SERIAL_EXCEPTION(ETapiLoadFail, ETapi)
KV_SERIAL_EXCEPTION(ETapiGetAddrFail, ETapi)
KV_SERIAL_EXCEPTION(ETapiVoiceNotSupported, ETapi)
KV_SERIAL_EXCEPTION(ETapiWaveFail, ETapi)
KV_SERIAL_EXCEPTION(ETapiTranslateFail, ETapi)
KV_SERIAL_EXCEPTION(ERasLoadFail, ERas)

#undef KV_SERIAL_EXCEPTION

// Returns a code of 0 or more unchanged, and any code while the component is
// being loaded from its form. Otherwise raises: the class mapped to the code;
// for unmapped codes -2..-162 the runtime's I/O error with ErrorText of the
// magnitude (-8: std::bad_alloc, the runtime's out-of-memory error); for any
// other code ESerialException "Serial link exception" with code 0.
int RaiseForErrorCode(int code, bool componentLoading = false);

} // namespace serial
