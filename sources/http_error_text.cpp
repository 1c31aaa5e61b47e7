#include "http_error_text.h"

#include <cstdio>

#include "http_client.h"

namespace plyvane {

std::string HttpErrorText(int code) {
    switch (code) {
        case http_error::kTimeout: return "Connection timeout!";
        case http_error::kInvalidUrl: return "Invaild URL!";
        case http_error::kNameNotResolved: return "Server name not resolved!";
        case http_error::kIncorrectUserName: return "Incorrect user name!";
        case http_error::kIncorrectPassword: return "Incorrect user password!";
        case http_error::kLoginFailure: return "Login failure!";
        case http_error::kNotProxyRequest: return "Not a proxy request!";
        case http_error::kItemNotFound: return "Item not found!";
        case http_error::kCannotConnect: return "Cannot connect!";
        case http_error::kConnectionAborted: return "Connection aborted!";
        case http_error::kConnectionReset: return "Connection reset!";
        case http_error::kInvalidProxyRequest: return "Invalid proxy request!";
        default: break;
    }
    char text[48];
    std::snprintf(text, sizeof text, "Error code %d returned!", code);
    return text;
}

}  // namespace plyvane
