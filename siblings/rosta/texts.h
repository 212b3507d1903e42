// The texts of rosta: one message for each result code of caspo, and the product name.
//
// Messages are read by administrators in logs and consoles, so each says what went wrong and,
// where there is one, what to do. They are listed in ascending order of code (the table builder
// insists). The two product-name messages carry one "%s" for the name and no other '%'.
#pragma once

#include <array>
#include <string_view>

#include "interfaces/hvx_types.h"
#include "platform/resource_layout.h"
#include "siblings/rosta/rosta.h"

namespace hvx::rosta {

constexpr os::ResourceText Message(HRESULT code, std::u16string_view text) {
    return {static_cast<DWORD>(code), text};
}

inline constexpr std::array kMessages = std::to_array<os::ResourceText>({
    Message(E_NOTIMPL, u"The system has no description of this error."),
    Message(E_FAIL, u"The operation failed."),
    Message(E_UNEXPECTED,
            u"The connection could not be prepared: the transfer engine refused a basic setting "
            u"or the CA certificate is missing."),
    Message(E_INVALIDARG, u"A value given to the operation is not valid."),
    Message(HVX_E_INSUFFICIENT_BUFFER, u"The buffer given for the server's answer is too small."),
    Message(HVX_E_NOT_FOUND, u"No proxy server is configured."),
    Message(HVX_E_INVALID_PARAMETER, u"A required argument is missing."),
    Message(HVX_E_SYNC_NO_ANSWER,
            u"The management server did not answer the identity synchronisation. Check the "
            u"network connection and the server address."),
    Message(HVX_E_SYNC_NOT_GUID,
            u"The management server answered the identity synchronisation with a value that is "
            u"not an identifier."),
    Message(HVX_E_POLICY_CURRENT, u"The policy on this computer is already the current one."),
    Message(HVX_E_POLICY_NO_LEVEL, u"The policy serial number names no policy level."),
    Message(HVX_E_URL_INVALID, u"The server address is not a valid http or https URL."),
    Message(HVX_E_CONFIG_UNAVAILABLE,
            u"A setting could not be read: the configuration store is unavailable or the setting "
            u"is missing."),
    Message(HVX_E_CONFIG_SAVE,
            u"The configuration store could not be saved. Check the free disk space and the "
            u"permissions of the agent's data folder."),
    Message(HVX_E_CONFIG_WRITE, u"A setting could not be written to the configuration store."),
    Message(HVX_E_UTF8_LENGTH, u"A text could not be converted to UTF-8."),
    Message(HVX_E_GENERAL, u"The operation failed. The agent's log has the details."),
    Message(HVX_E_ENGINE_MISSING,
            u"The transfer engine (mirel) is missing or incomplete. Reinstall the agent."),
    Message(HVX_E_PRODUCT_MESSAGE_1,
            u"%s could not carry out the operation because one of its components is missing or "
            u"damaged. Repair the installation."),
    Message(HVX_E_PRODUCT_MESSAGE_2,
            u"%s cannot carry out the operation in its current state. Restart the agent and try "
            u"again."),
    Message(HVX_E_HTTP_ERROR_STATUS, u"The server answered with an error and gave no description."),
    Message(HVX_E_EVENT_NOT_ACCEPTABLE, u"The management server did not accept the event."),
    Message(HVX_E_TRANSFER_FAILED,
            u"The connection to the server failed. Check the network connection, the proxy "
            u"settings and the server address."),
    Message(HVX_E_DOWNLOAD_STATUS, u"The server did not deliver the file."),
    Message(HVX_E_INVALID_ARGUMENT, u"A required value is missing, empty or not valid."),
    Message(HVX_E_NO_LAST_MODIFIED, u"The update server's answer carries no modification date."),
    Message(HVX_E_MULTIPART_ALLOC, u"There is not enough memory to assemble the upload."),
    Message(HVX_E_UPLOAD_STATUS, u"The upload server refused the file."),
    Message(HVX_E_UPLOAD_SECTION, u"A part of the upload could not be added."),
    Message(HVX_E_ERROR_BODY_NOT_JSON,
            u"The server's error answer could not be read: it is not valid JSON."),
    Message(HVX_E_NO_RESPONSE_BODY, u"The server's answer was empty."),
    Message(HVX_E_NO_ENGINE_INSTANCE,
            u"The connection could not be set up: no transfer engine is available."),
    Message(HVX_E_ERROR_BODY_EXCEPTION,
            u"The server's error answer holds values of the wrong kind."),
    Message(HVX_E_POLICY_STATUS, u"The management server did not deliver the policy."),
});

inline constexpr std::array kStrings = std::to_array<os::ResourceText>({
    {IDS_HALVEX_PROTECT, u"Halvex Protect"},
});

}  // namespace hvx::rosta
