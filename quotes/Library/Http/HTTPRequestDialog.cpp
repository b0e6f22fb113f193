#include "HTTPRequest.h"

#include "AuthenticationDialog.h"

bool HTTPRequest::showAuthenticationDialog(bool proxy) {
    if (isSynchronous_ ||
        !(proxy ? shouldPresentProxyAuthenticationDialog_ : shouldPresentAuthenticationDialog_))
        return false;
    onMain([](HTTPRequest &r) {
        AuthenticationDialog::presentAuthenticationDialogForRequest(r.self<HTTPRequest>());
    });
    return true;
}
