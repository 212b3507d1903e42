// GetHvxHrMsg against the real rosta, a scripted one and a missing one; GetSystemErrorText.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "interfaces/hvx_types.h"
#include "platform/module.h"
#include "siblings/rosta/texts.h"
#include "support/messages.h"
#include "support/resource_dll_name_hook.h"
#include "tests/support/log_capture.h"
#include "tests/unit/messages/system_text.h"

namespace hvx {
namespace {

constexpr const char16_t* kRosta = u"rosta.dll";
constexpr std::u16string_view kProductName = u"Halvex Protect";
constexpr std::u16string_view kLineEnd = u"\r\n";
constexpr std::u16string_view kUntouched = u"untouched";

// Every result code of the library.
constexpr HRESULT kResultCodes[] = {
    E_NOTIMPL,
    E_FAIL,
    E_UNEXPECTED,
    E_INVALIDARG,
    HVX_E_INVALID_PARAMETER,
    HVX_E_INSUFFICIENT_BUFFER,
    HVX_E_NOT_FOUND,
    HVX_E_SYNC_NO_ANSWER,
    HVX_E_SYNC_NOT_GUID,
    HVX_E_POLICY_CURRENT,
    HVX_E_POLICY_NO_LEVEL,
    HVX_E_URL_INVALID,
    HVX_E_CONFIG_UNAVAILABLE,
    HVX_E_CONFIG_SAVE,
    HVX_E_CONFIG_WRITE,
    HVX_E_UTF8_LENGTH,
    HVX_E_GENERAL,
    HVX_E_ENGINE_MISSING,
    HVX_E_PRODUCT_MESSAGE_1,
    HVX_E_PRODUCT_MESSAGE_2,
    HVX_E_HTTP_ERROR_STATUS,
    HVX_E_EVENT_NOT_ACCEPTABLE,
    HVX_E_TRANSFER_FAILED,
    HVX_E_DOWNLOAD_STATUS,
    HVX_E_INVALID_ARGUMENT,
    HVX_E_NO_LAST_MODIFIED,
    HVX_E_MULTIPART_ALLOC,
    HVX_E_UPLOAD_STATUS,
    HVX_E_UPLOAD_SECTION,
    HVX_E_ERROR_BODY_NOT_JSON,
    HVX_E_NO_RESPONSE_BODY,
    HVX_E_NO_ENGINE_INSTANCE,
    HVX_E_ERROR_BODY_EXCEPTION,
    HVX_E_POLICY_STATUS,
};

std::u16string SourceText(HRESULT code) {
    const auto* found =
        std::ranges::find(rosta::kMessages, static_cast<DWORD>(code), &os::ResourceText::id);
    return found == rosta::kMessages.end() ? std::u16string() : std::u16string(found->text);
}

TEST(Messages, EveryResultCodeHasItsMessageInRosta) {
    SetResourceDllNameForTests(kRosta);
    test::LogCapture log;
    for (const HRESULT code : kResultCodes) {
        std::u16string message;
        EXPECT_EQ(GetHvxHrMsg(code, message), S_OK) << std::hex << code;
        std::u16string expected = SourceText(code);
        const auto placeholder = expected.find(u"%s");
        if (placeholder != std::u16string::npos) {
            expected.replace(placeholder, 2, kProductName);
        }
        EXPECT_GT(expected.size(), kProductName.size()) << std::hex << code;
        EXPECT_EQ(message, expected + std::u16string(kLineEnd)) << std::hex << code;
    }
    SetResourceDllNameForTests(u"");
    EXPECT_TRUE(log.Errors().empty());
}

TEST(Messages, ProductNameCodesFailWhileNoResourceModuleIsNamed) {
    ASSERT_EQ(GetResourceDllName(), u"");
    for (const HRESULT code : {HVX_E_PRODUCT_MESSAGE_1, HVX_E_PRODUCT_MESSAGE_2}) {
        test::LogCapture log;
        std::u16string message(kUntouched);
        EXPECT_EQ(GetHvxHrMsg(code, message), E_FAIL);
        EXPECT_EQ(message, kUntouched);
        EXPECT_EQ(log.Errors(), std::vector<std::string>{
                                    "hvx::GetHvxHrMsg: hvx::LoadString ( GetResourceDllName(), "
                                    "IDS_HALVEX_PROTECT ) failed"});
    }
}

TEST(Messages, CodeWithoutMessageNamesTheCodeAndTheLookupError) {
    const struct {
        HRESULT code;
        std::u16string hex;
        std::string decimal;
    } cases[] = {
        {HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), u"80070005", "2147942405"},
        {MakeResult(0x5u), u"       5", "5"},
        {MakeResult(0xABCDEFu), u"  abcdef", "11259375"},
    };
    for (const auto& c : cases) {
        test::LogCapture log;
        std::u16string message;
        EXPECT_EQ(GetHvxHrMsg(c.code, message), E_FAIL);
        EXPECT_EQ(message, u". Could not create error string for 0x" + c.hex + u". [" +
                               test::SystemText(ERROR_MR_MID_NOT_FOUND) + u"(317)].");
        EXPECT_EQ(log.Errors(),
                  std::vector<std::string>{"hvx::GetHvxHrMsg: FormatMessage() failed 317 fetching "
                                           "string for " +
                                           c.decimal});
    }
}

TEST(Messages, RostaWithoutResourcesReportsTheLookupError) {
    os::RegisterBuiltinModule(kRosta, {});
    test::LogCapture log;
    std::u16string message;
    EXPECT_EQ(GetHvxHrMsg(HVX_E_GENERAL, message), E_FAIL);
    os::UnregisterBuiltinModule(kRosta);
    EXPECT_EQ(message, u". Could not create error string for 0xc1040003. [" +
                           test::SystemText(ERROR_RESOURCE_DATA_NOT_FOUND) + u"(1812)].");
    EXPECT_EQ(log.Errors(),
              std::vector<std::string>{
                  "hvx::GetHvxHrMsg: FormatMessage() failed 1812 fetching string for 3238264835"});
}

TEST(Messages, MissingRostaFailsToLoad) {
    os::RegisterMissingModule(kRosta);
    test::LogCapture log;
    std::u16string message(kUntouched);
    EXPECT_EQ(GetHvxHrMsg(HVX_E_GENERAL, message), E_FAIL);
    os::UnregisterBuiltinModule(kRosta);
    EXPECT_EQ(message, kUntouched);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"hvx::GetHvxHrMsg: LoadLibrary failed 126"});
}

TEST(Messages, SystemErrorTexts) {
    const struct {
        DWORD error;
        HRESULT result;
        std::u16string text;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, S_OK, test::SystemText(ERROR_FILE_NOT_FOUND) + u"(2)"},
        {ERROR_SUCCESS, S_OK, test::SystemText(ERROR_SUCCESS) + u"(0)"},
        {999999, E_NOTIMPL, u"Error 999999. FormatMessage failed, error: 317"},
        {0xFFFFFFFFu, E_NOTIMPL, u"Error 4294967295. FormatMessage failed, error: 317"},
    };
    for (const auto& c : cases) {
        std::u16string text;
        EXPECT_EQ(GetSystemErrorText(c.error, text), c.result) << c.error;
        EXPECT_EQ(text, c.text);
    }
}

}  // namespace
}  // namespace hvx
