// The reader behind CreateProxyClassInstance: reads sabko's own keys (proxy_keys.h).
#pragma once

#include "interfaces/IProxyReader.h"

namespace hvx::sabko {

class CProxyReader final : public IProxyReader {
public:
    CProxyReader() = default;
    ~CProxyReader() = default;
    CProxyReader(const CProxyReader&) = delete;
    CProxyReader& operator=(const CProxyReader&) = delete;
    CProxyReader(CProxyReader&&) = delete;
    CProxyReader& operator=(CProxyReader&&) = delete;

    HRESULT IsConfigured(IConfig* config) override;
    HRESULT ReadSettings(IConfig* config, ProxySettings* settings) override;
};

}  // namespace hvx::sabko
