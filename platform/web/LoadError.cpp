#include "platform/web/LoadError.h"

#include <gio/gio.h>
#include <webkit2/webkit2.h>

namespace web {

namespace {

long ioErrorCode(int code) {
    switch (code) {
    case G_IO_ERROR_CANCELLED:
        return LoadError::kCancelled;
    case G_IO_ERROR_TIMED_OUT:
        return LoadError::kTimedOut;
    case G_IO_ERROR_CONNECTION_REFUSED:
    case G_IO_ERROR_HOST_UNREACHABLE:
    case G_IO_ERROR_PROXY_FAILED:
        return LoadError::kCannotConnectToHost;
    case G_IO_ERROR_NETWORK_UNREACHABLE:
        return LoadError::kNotConnectedToInternet;
    case G_IO_ERROR_CONNECTION_CLOSED:
        return LoadError::kNetworkConnectionLost;
    case G_IO_ERROR_PROXY_NOT_ALLOWED:
    case G_IO_ERROR_HOST_NOT_FOUND:
        return LoadError::kCannotFindHost;
    default:
        return LoadError::kUnknown;
    }
}

long networkErrorCode(int code) {
    switch (code) {
    case WEBKIT_NETWORK_ERROR_CANCELLED:
        return LoadError::kCancelled;
    case WEBKIT_NETWORK_ERROR_UNKNOWN_PROTOCOL:
        return LoadError::kUnsupportedURL;
    case WEBKIT_NETWORK_ERROR_TRANSPORT:
        return LoadError::kNetworkConnectionLost;
    default:
        return LoadError::kUnknown;
    }
}

foundation::Error urlError(long code, const GError& error) {
    return {LoadError::kURLErrorDomain, code, error.message ? error.message : ""};
}

} // namespace

foundation::Error LoadError::from(const GError& error) {
    if (error.domain == WEBKIT_POLICY_ERROR) {
        if (error.code == WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)
            return {kWebKitErrorDomain, kFrameLoadInterrupted, error.message};
        return urlError(kUnsupportedURL, error);
    }
    if (error.domain == G_RESOLVER_ERROR)
        return urlError(kCannotFindHost, error);
    if (error.domain == G_TLS_ERROR)
        return urlError(kSecureConnectionFailed, error);
    if (error.domain == G_IO_ERROR)
        return urlError(ioErrorCode(error.code), error);
    if (error.domain == WEBKIT_NETWORK_ERROR)
        return urlError(networkErrorCode(error.code), error);
    return urlError(kUnknown, error);
}

foundation::Error LoadError::timedOut(const char* message) {
    return {kURLErrorDomain, kTimedOut, message};
}

} // namespace web
