// HTTP basic authentication: the credentials a request carries.
#pragma once

#include <httplib.h>

#include <optional>
#include <string>

namespace hvx::backend {

struct Credentials {
    std::string user;
    std::string password;
};

// The user and password of an "Authorization: Basic ..." header; nothing when the request has
// none or it cannot be read.
std::optional<Credentials> BasicCredentials(const httplib::Request& request);

}  // namespace hvx::backend
