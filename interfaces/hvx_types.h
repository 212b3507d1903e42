// Types shared by every interface of caspo, and the one list of its result codes.
//
// A result code is a 32-bit HRESULT: 0 is success, failures are negative, and a positive
// value counts as success wherever a caller tests for "negative". Operations that are given
// null text arguments through an interface return S_FALSE (1).
#pragma once

#include <cstdint>
#include <functional>

#include "platform/base_types.h"

namespace hvx {

// Asked during transfers whether the agent is shutting down; true aborts the transfer.
// Passed by value and copied into every session that a client initialises.
using ShutdownCallback = std::function<bool()>;

// Builds an HRESULT from its unsigned 32-bit spelling.
constexpr HRESULT MakeResult(std::uint32_t code) {
    return static_cast<HRESULT>(code);
}

// NTSTATUS STATUS_INVALID_PARAMETER: a null argument to the facade's file request.
inline constexpr HRESULT HVX_E_INVALID_PARAMETER = MakeResult(0xC000000Du);
// HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER): the caller's buffer is too small.
inline constexpr HRESULT HVX_E_INSUFFICIENT_BUFFER = MakeResult(0x8007007Au);
// HRESULT_FROM_WIN32(ERROR_NOT_FOUND): the proxy reader found no proxy configured.
inline constexpr HRESULT HVX_E_NOT_FOUND = MakeResult(0x80070490u);

// Identity synchronisation got no HTTP answer.
inline constexpr HRESULT HVX_E_SYNC_NO_ANSWER = MakeResult(0xC1010001u);
// The backend's answer to an identity synchronisation is not a GUID.
inline constexpr HRESULT HVX_E_SYNC_NOT_GUID = MakeResult(0xC1010002u);
// The deployed policy is current.
inline constexpr HRESULT HVX_E_POLICY_CURRENT = MakeResult(0xC1010005u);
// A policy serial without a level bit.
inline constexpr HRESULT HVX_E_POLICY_NO_LEVEL = MakeResult(0xC1010006u);

// A URL rejected by the validator.
inline constexpr HRESULT HVX_E_URL_INVALID = MakeResult(0xC1030002u);
// The configuration store is unavailable or the value absent; trusted certificates not loadable.
inline constexpr HRESULT HVX_E_CONFIG_UNAVAILABLE = MakeResult(0xC1030003u);
// Saving the configuration store failed.
inline constexpr HRESULT HVX_E_CONFIG_SAVE = MakeResult(0xC1030004u);
// Setting and adding a configuration value both failed.
inline constexpr HRESULT HVX_E_CONFIG_WRITE = MakeResult(0xC1030005u);

// The UTF-8 length query failed.
inline constexpr HRESULT HVX_E_UTF8_LENGTH = MakeResult(0xC1040001u);
// General failure: conversion, host name, adapter list, stored layout; client not
// initialised; event answered with an unexpected status; fallback message code.
inline constexpr HRESULT HVX_E_GENERAL = MakeResult(0xC1040003u);
// The transfer engine library or its entry points are missing.
inline constexpr HRESULT HVX_E_ENGINE_MISSING = MakeResult(0xC1040007u);
// Codes whose message text names the product.
inline constexpr HRESULT HVX_E_PRODUCT_MESSAGE_1 = MakeResult(0xC1040008u);
inline constexpr HRESULT HVX_E_PRODUCT_MESSAGE_2 = MakeResult(0xC1040009u);

// A 4xx or 5xx answer without a usable JSON error body.
inline constexpr HRESULT HVX_E_HTTP_ERROR_STATUS = MakeResult(0xC1050001u);
// An event answered with status 406.
inline constexpr HRESULT HVX_E_EVENT_NOT_ACCEPTABLE = MakeResult(0xC1050005u);
// The transfer failed.
inline constexpr HRESULT HVX_E_TRANSFER_FAILED = MakeResult(0xC1050007u);

// A download answered with a status other than 200.
inline constexpr HRESULT HVX_E_DOWNLOAD_STATUS = MakeResult(0xC1200001u);
// A required argument is null, empty or invalid; an empty Last-Modified value.
inline constexpr HRESULT HVX_E_INVALID_ARGUMENT = MakeResult(0xC1200005u);
// An update answer without Last-Modified (logged only).
inline constexpr HRESULT HVX_E_NO_LAST_MODIFIED = MakeResult(0xC1200008u);
// Allocating the multipart body failed.
inline constexpr HRESULT HVX_E_MULTIPART_ALLOC = MakeResult(0xC120000Cu);
// An upload answered with a status outside 200 to 399.
inline constexpr HRESULT HVX_E_UPLOAD_STATUS = MakeResult(0xC1200012u);
// Adding an upload section failed.
inline constexpr HRESULT HVX_E_UPLOAD_SECTION = MakeResult(0xC1200014u);
// The error body is not valid JSON.
inline constexpr HRESULT HVX_E_ERROR_BODY_NOT_JSON = MakeResult(0xC1200019u);
// No response body.
inline constexpr HRESULT HVX_E_NO_RESPONSE_BODY = MakeResult(0xC1200021u);
// No transfer-engine instance.
inline constexpr HRESULT HVX_E_NO_ENGINE_INSTANCE = MakeResult(0xC1200022u);
// Reading the error body raised an exception.
inline constexpr HRESULT HVX_E_ERROR_BODY_EXCEPTION = MakeResult(0xC1200023u);
// A policy download answered with a status other than 200.
inline constexpr HRESULT HVX_E_POLICY_STATUS = MakeResult(0xC1200024u);

}  // namespace hvx
