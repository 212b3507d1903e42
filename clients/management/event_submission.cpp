// COstraHttp::SendEvent: posts one agent event to the event endpoint, read anew at every call.
#include <string>

#include "clients/management/ostra_http.h"
#include "session/http_status.h"
#include "support/config_access.h"
#include "support/config_keys.h"
#include "support/text_utils.h"

namespace hvx {

namespace {

constexpr std::uint32_t kEventTimeLimitSeconds = 30;

}  // namespace

HRESULT COstraHttp::SendEvent(std::uint64_t id, std::uint64_t time, std::uint32_t typeId,
                              const char16_t* data) {
    if (data == nullptr) {
        return S_FALSE;
    }
    if (m_initialised == 0) {
        return HVX_E_GENERAL;
    }
    static_cast<void>(ReadConfigString(keys::kEventEndpoint, m_eventEndpoint));
    CHttpCurl session;
    const HRESULT started = StartSession(session, u"POST", m_eventEndpoint, kEventTimeLimitSeconds);
    if (FAILED(started)) {
        return started;
    }
    static_cast<void>(session.AddFormField(u"fg", m_affiliateGuid));
    if (!m_agentGuid.empty()) {
        static_cast<void>(session.AddFormField(u"ag", m_agentGuid));
    }
    static_cast<void>(session.AddFormField(u"bg", m_businessGuid));
    static_cast<void>(session.AddFormField(u"id", id));
    static_cast<void>(session.AddFormField(u"tid", typeId));
    static_cast<void>(session.AddFormField(u"ts", time));
    static_cast<void>(session.AddFormField(u"data", std::u16string(data)));
    // The moment of sending is taken once the data is in.
    static_cast<void>(session.AddFormField(u"tsn", m_env.systemTime()));

    std::uint32_t status = 0;
    std::string answer;
    HRESULT result = session.MakeRequestToString(status, answer);
    // The session fails every 4xx answer, so a 406 is told by its status, whatever its body.
    if (status == http::kNotAcceptable) {
        return HVX_E_EVENT_NOT_ACCEPTABLE;
    }
    if (SUCCEEDED(result) && !answer.empty()) {
        std::u16string wide;
        result = Utf8ToWide(answer, wide);
    }
    if (SUCCEEDED(result) && status != http::kOk) {
        result = HVX_E_GENERAL;
    }
    return result;
}

}  // namespace hvx
