// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

/**
 * @file Vexo.h
 * @brief C interface of the Vexo device discovery library.
 *
 * The library finds the network cameras and recorders on the local segment,
 * reports them through a callback on a thread of its own, and carries out
 * activation, network changes, key queries and password resets on them.
 * The wire protocol is described in docs/protocol.md.
 *
 * All records are packed and little-endian. Every function is thread-safe;
 * VEXO_GetLastError() reports the error of the calling thread's last failed
 * call. Functions that return int succeed when the result is at least 1.
 *
 * Environment (read once by VEXO_Start_V30 for the whole session; a variable that
 * is set but malformed makes the start fail with VEXO_ERR_BAD_ARGUMENT):
 * - VEXO_SCOPE    "lan" (default): multicast on every IPv4 interface that can
 *                 multicast; "loopback": unicast to 127.0.0.1 only, for tests
 *                 and demos.
 * - VEXO_PORT     UDP port the devices listen on (default VEXO_DEFAULT_PORT). In the LAN
 *                 scope the library listens on VEXO_PORT + 1; in the loopback
 *                 scope it uses an ephemeral port.
 * - VEXO_GROUP    IPv4 multicast group of the LAN scope (default VEXO_DEFAULT_GROUP).
 * - VEXO_INQUIRY_INTERVAL_MS  automatic inquiry period (default 10000).
 * - VEXO_OFFLINE_TIMEOUT_MS   silence after which a device is reported offline
 *                 (default 35000, i.e. three missed inquiries and a margin).
 * - VEXO_TIMEOUT_MS           overall time a blocking operation waits for the
 *                 device (default 3000); requests are retransmitted within it.
 * - VEXO_LOG_DIR  folder of the log file when VEXO_SetLogToFile gets no folder
 *                 (read by VEXO_SetLogToFile).
 *
 * Device identity: every device holds a certificate of the maker over its serial
 * number, MAC, type code and public keys. The library checks it against the
 * maker's key built into it, keeps a device's keys for the whole session (also
 * across offline, goodbye and VEXO_Clearup), and never sends a password, reset
 * key or security code to a device whose certificate does not verify
 * (VEXO_ERR_UNVERIFIED); such a device is still reported.
 *
 * Order of a device's events: a device is reported online (VEXO_EVENT_ONLINE) as soon as
 * its announcement is read, before its certificate is checked (identityFlags without
 * VEXO_IDENTITY_CHECKED); the check runs on threads of the library's own, and its outcome
 * follows as VEXO_EVENT_CHANGED with VEXO_IDENTITY_CHECKED set (and VEXO_IDENTITY_VERIFIED
 * when the certificate holds), unless the device left the list meanwhile: its next online
 * event then carries the outcome. Each sender address may bring only a few identities not
 * known to be verified (8 in a session): beyond those, a new device from that address is
 * reported online only once its certificate and signature are checked, with the outcome in
 * that online event. Then come changes, offline and, after a restart, online again, as the
 * device announces them. Operations wait, within their time-out, for the check of a device
 * just listed.
 */
#pragma once

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#    if defined(VEXO_BUILDING_LIBRARY)
#        define VEXO_API __declspec(dllexport)
#    else
#        define VEXO_API __declspec(dllimport)
#    endif
#    define VEXO_CALLBACK __stdcall
#else
#    define VEXO_API __attribute__((visibility("default")))
#    define VEXO_CALLBACK
#endif

#ifdef __cplusplus
extern "C" {
#endif

/** @name Error codes returned by VEXO_GetLastError()
 *  The codes 2009, 2011 and 2021 are the ones callers map to messages.
 *  @{ */
#define VEXO_NOERROR 0                 /**< no error */
#define VEXO_ERR_NOT_STARTED 2001      /**< the operation needs VEXO_Start_V30 first */
#define VEXO_ERR_BAD_ARGUMENT 2002     /**< null pointer, empty or over-long text, bad command */
#define VEXO_ERR_UNKNOWN_DEVICE 2003   /**< no device answered to that serial number or MAC */
#define VEXO_ERR_NETWORK 2004          /**< a socket could not be opened, bound or used */
#define VEXO_ERR_BUFFER_TOO_SMALL 2005 /**< the output buffer cannot hold the answer */
#define VEXO_ERR_ALREADY_STARTED 2006  /**< VEXO_Start_V30 while started */
#define VEXO_ERR_FILE 2007             /**< a reset file could not be read or is too large */
#define VEXO_ERR_PROTOCOL 2008         /**< the device answered something unexpected */
#define VEXO_ERR_DEVICE_DENY 2009      /**< the device refused: wrong password, key or security code */
#define VEXO_ERR_TIMEOUT 2011          /**< no answer in time */
#define VEXO_ERR_ALREADY_ACTIVE 2021   /**< the device is already activated */
#define VEXO_ERR_LOCKED 2022           /**< too many wrong passwords from this address: refused for a while */
#define VEXO_ERR_NOT_ACTIVATED 2023    /**< the device has no administrator password yet */
#define VEXO_ERR_UNSUPPORTED 2024      /**< the device does not support the operation */
#define VEXO_ERR_LOG 2025              /**< the log file could not be opened */
#define VEXO_ERR_STALE 2026            /**< the device refused the request's challenge twice (it restarted meanwhile) */
#define VEXO_ERR_IN_CALLBACK 2027      /**< a blocking call or VEXO_Stop was made from the device callback */
#define VEXO_ERR_UNVERIFIED 2028       /**< no valid maker certificate: no password, key or code is sent to it */
#define VEXO_ERR_INTERNAL 2099         /**< an internal failure (out of memory, crypto) */
/** @} */

/** Defaults of the environment variables VEXO_PORT and VEXO_GROUP. */
#define VEXO_DEFAULT_PORT 37020
#define VEXO_DEFAULT_GROUP "239.255.37.20"

/** Longest administrator password and security code, in bytes without a terminator. */
#define VEXO_MAX_PASSWORD_LEN 16
#define VEXO_MAX_SECURITY_CODE_LEN 32

/** Event codes in VEXO_DEVICE_INFO::eventCode. */
#define VEXO_EVENT_ONLINE 1  /**< a device appeared, came back or restarted (new boot) */
#define VEXO_EVENT_CHANGED 2 /**< a reported device's data changed */
#define VEXO_EVENT_OFFLINE 3 /**< a device said goodbye or fell silent */

/** capabilityFlags bits. */
#define VEXO_CAP_IPV6 0x01
#define VEXO_CAP_MOD_IPV6 0x02
#define VEXO_CAP_DHCP 0x04
#define VEXO_CAP_KEY_RESET 0x40
#define VEXO_CAP_RESET_IPC 0x80

/** keyFormatFlags bits. */
#define VEXO_KEYFMT_NEW 0x01

/** identityFlags bits. */
#define VEXO_IDENTITY_VERIFIED                                                                                         \
    0x01 /**< the device proved its identity with a valid maker certificate; without it the
              device may be an impostor, and the library sends it no password or key */
#define VEXO_IDENTITY_CHECKED                                                                                          \
    0x02 /**< the certificate has been checked (VEXO_IDENTITY_VERIFIED tells the outcome); clear in the
              online event of a device listed before its check, which a changed event then follows */

/** Flags of VEXO_Start_V30. */
#define VEXO_START_AUTO_INQUIRY 0x01 /**< send inquiries at the default interval */

/** Key query commands of VEXO_GetDeviceConfig. */
#define VEXO_GET_KEY_V1 1 /**< key of the older reset scheme, up to 256 bytes */
#define VEXO_GET_KEY_V2 2 /**< key of the newer reset scheme, up to 384 bytes */

/** Filter rules of VEXO_SetDeviceFilterRule. */
#define VEXO_FILTER_NONE 0 /**< report every device */
#define VEXO_FILTER_SUBNET                                                                                             \
    1 /**< only devices whose IPv4 address lies in a subnet of this host
                                  (or in the subnets listed in the rule's argument) */

#pragma pack(push, 1)

/** A device as reported by the library (500 bytes). */
typedef struct tagVEXO_DEVICE_INFO
{
    char leadText[12]; /**< protocol name of the device's stack, "VXDP/1" */
    char serialNumber[48];
    char macAddress[20]; /**< "aa-bb-cc-dd-ee-ff" */
    char ipv4Address[16];
    char ipv4SubnetMask[16];
    uint32_t deviceTypeCode;
    uint32_t port;
    uint32_t channelCount;
    uint32_t reserved1;
    char softwareVersion[48];
    char dspVersion[48];
    char startTime[48];
    int32_t eventCode;
    char deviceTypeText[24];
    char reserved2[24];
    char ipv4Gateway[16];
    char ipv6Address[46];
    char ipv6Gateway[46];
    uint8_t ipv6PrefixLength;
    uint8_t capabilityFlags;
    uint8_t dhcpEnabled;
    uint8_t extendedInfoValid;
    uint16_t httpPort;
    uint8_t reserved3[21];
    uint8_t inactive; /**< 0 = activated */
    uint8_t reserved4[24];
    uint8_t keyFormatFlags;
    uint8_t identityFlags; /**< VEXO_IDENTITY_* bits */
    uint8_t reserved5[14];
} VEXO_DEVICE_INFO, *LPVEXO_DEVICE_INFO;

/** New network parameters of a device (436 bytes). */
typedef struct tagDeviceNetParam
{
    char ipv4Address[16];
    char ipv4SubnetMask[16];
    char ipv4Gateway[16];
    char ipv6Address[128];
    char ipv6Gateway[128];
    uint16_t port;
    uint8_t ipv6PrefixLength;
    uint8_t dhcpEnabled;
    uint16_t httpPort;
    uint8_t reserved[126];
} DeviceNetParam;

/** Output of VEXO_GetDeviceConfig with command 1 (260 bytes). */
typedef struct tagVEXO_KEY_BUFFER
{
    uint32_t length;
    char data[256];
} VEXO_KEY_BUFFER;

/** Output of VEXO_GetDeviceConfig with command 2 (388 bytes). */
typedef struct tagVEXO_KEY_BUFFER_V2
{
    uint32_t length;
    char data[384];
} VEXO_KEY_BUFFER_V2;

/** Input of VEXO_ResetPasswd (1044 bytes). Exactly one of secretKey and keyFilePath is set. */
typedef struct tagVEXO_RESET_PARAM
{
    char secretKey[256];                  /**< typed reset key, not necessarily NUL-terminated */
    char keyFilePath[260];                /**< path of a reset file, not necessarily NUL-terminated */
    char password[VEXO_MAX_PASSWORD_LEN]; /**< new administrator password, not necessarily NUL-terminated */
    uint8_t resetIpc;                     /**< 1 = also reset the cameras connected to the device */
    uint8_t reserved[511];
} VEXO_RESET_PARAM;

#pragma pack(pop)

#ifdef __cplusplus
#    define VEXO_STATIC_ASSERT static_assert
#else
#    define VEXO_STATIC_ASSERT _Static_assert
#endif

VEXO_STATIC_ASSERT(sizeof(VEXO_DEVICE_INFO) == 500, "VEXO_DEVICE_INFO is 500 bytes");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, leadText) == 0, "leadText");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, serialNumber) == 12, "serialNumber");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, macAddress) == 60, "macAddress");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, ipv4Address) == 80, "ipv4Address");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, ipv4SubnetMask) == 96, "ipv4SubnetMask");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, deviceTypeCode) == 112, "deviceTypeCode");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, port) == 116, "port");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, channelCount) == 120, "channelCount");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, softwareVersion) == 128, "softwareVersion");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, dspVersion) == 176, "dspVersion");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, startTime) == 224, "startTime");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, eventCode) == 272, "eventCode");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, deviceTypeText) == 276, "deviceTypeText");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, ipv4Gateway) == 324, "ipv4Gateway");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, ipv6Address) == 340, "ipv6Address");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, ipv6Gateway) == 386, "ipv6Gateway");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, ipv6PrefixLength) == 432, "ipv6PrefixLength");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, capabilityFlags) == 433, "capabilityFlags");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, dhcpEnabled) == 434, "dhcpEnabled");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, extendedInfoValid) == 435, "extendedInfoValid");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, httpPort) == 436, "httpPort");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, inactive) == 459, "inactive");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, keyFormatFlags) == 484, "keyFormatFlags");
VEXO_STATIC_ASSERT(offsetof(VEXO_DEVICE_INFO, identityFlags) == 485, "identityFlags");

VEXO_STATIC_ASSERT(sizeof(DeviceNetParam) == 436, "DeviceNetParam is 436 bytes");
VEXO_STATIC_ASSERT(offsetof(DeviceNetParam, ipv4Address) == 0, "ipv4Address");
VEXO_STATIC_ASSERT(offsetof(DeviceNetParam, ipv4SubnetMask) == 16, "ipv4SubnetMask");
VEXO_STATIC_ASSERT(offsetof(DeviceNetParam, ipv4Gateway) == 32, "ipv4Gateway");
VEXO_STATIC_ASSERT(offsetof(DeviceNetParam, ipv6Address) == 48, "ipv6Address");
VEXO_STATIC_ASSERT(offsetof(DeviceNetParam, ipv6Gateway) == 176, "ipv6Gateway");
VEXO_STATIC_ASSERT(offsetof(DeviceNetParam, port) == 304, "port");
VEXO_STATIC_ASSERT(offsetof(DeviceNetParam, ipv6PrefixLength) == 306, "ipv6PrefixLength");
VEXO_STATIC_ASSERT(offsetof(DeviceNetParam, dhcpEnabled) == 307, "dhcpEnabled");
VEXO_STATIC_ASSERT(offsetof(DeviceNetParam, httpPort) == 308, "httpPort");
VEXO_STATIC_ASSERT(offsetof(DeviceNetParam, reserved) == 310, "reserved");

VEXO_STATIC_ASSERT(sizeof(VEXO_KEY_BUFFER) == 260, "command 1 key buffer is 260 bytes");
VEXO_STATIC_ASSERT(sizeof(VEXO_KEY_BUFFER_V2) == 388, "command 2 key buffer is 388 bytes");
VEXO_STATIC_ASSERT(offsetof(VEXO_KEY_BUFFER, data) == 4, "key data");

VEXO_STATIC_ASSERT(sizeof(VEXO_RESET_PARAM) == 1044, "VEXO_RESET_PARAM is 1044 bytes");
VEXO_STATIC_ASSERT(offsetof(VEXO_RESET_PARAM, secretKey) == 0, "secretKey");
VEXO_STATIC_ASSERT(offsetof(VEXO_RESET_PARAM, keyFilePath) == 256, "keyFilePath");
VEXO_STATIC_ASSERT(offsetof(VEXO_RESET_PARAM, password) == 516, "password");
VEXO_STATIC_ASSERT(offsetof(VEXO_RESET_PARAM, resetIpc) == 532, "resetIpc");
VEXO_STATIC_ASSERT(offsetof(VEXO_RESET_PARAM, reserved) == 533, "reserved");

/**
 * Called on the library's thread for every device event, with eventCode set.
 * The record is valid only during the call.
 */
typedef void(VEXO_CALLBACK *VEXO_DEVICE_CALLBACK)(const VEXO_DEVICE_INFO *pDeviceInfo, void *pUserData);

/**
 * @brief Turns the library's log file on.
 * @param level  0 off, 1 errors, 2 warnings (also every ignored forgery), 3 information (device events),
 *               4 debug (also one line per datagram sent or received, and every malformed one).
 * @param logDir folder of "vexo.log"; null takes VEXO_LOG_DIR, else the system's temporary folder.
 * @param autoDelete nonzero: the log file is truncated when it exceeds 4 MiB.
 * @return 1 on success, 0 on failure (VEXO_ERR_LOG).
 */
VEXO_API int VEXO_SetLogToFile(int level, const char *logDir, int autoDelete);

/**
 * @brief Chooses which devices are reported.
 * @param rule VEXO_FILTER_NONE or VEXO_FILTER_SUBNET.
 * @param arg  with VEXO_FILTER_SUBNET: null for the subnets of this host's IPv4 interfaces,
 *             or a list such as "127.0.0.0/8;192.0.2.0/24" (of argLen bytes).
 * @param argLen length of arg in bytes (0 when arg is null; never negative).
 * @return 1 on success, 0 on a bad rule, list or length (VEXO_ERR_BAD_ARGUMENT).
 * Takes effect for the next inquiry; devices already reported stay reported.
 */
VEXO_API int VEXO_SetDeviceFilterRule(int rule, const char *arg, int argLen);

/**
 * @brief Starts discovery: opens the sockets, starts the library thread and sends a first inquiry.
 * @param callback  called for every device event; may be null (operations only).
 * @param flags     VEXO_START_AUTO_INQUIRY to repeat inquiries at VEXO_INQUIRY_INTERVAL_MS.
 * @param pUserData passed to the callback.
 * @return 1 on success, 0 on failure.
 */
VEXO_API int VEXO_Start_V30(VEXO_DEVICE_CALLBACK callback, int flags, void *pUserData);

/** @brief Stops discovery. No callback runs after it returns. Returns 1, or 0 when not started. */
VEXO_API int VEXO_Stop(void);

/** @brief Asks every device to announce itself. Returns 1, or 0 when not started. */
VEXO_API int VEXO_SendInquiry(void);

/**
 * @brief Forgets the reported devices, so that the next inquiry reports each of them online again.
 * What the devices proved (their pinned keys, their newest signed state) is kept for the session.
 */
VEXO_API int VEXO_Clearup(void);

/** @brief Gives a new device its first administrator password (at most VEXO_MAX_PASSWORD_LEN bytes). */
VEXO_API int VEXO_ActivateDevice(const char *serialNumber, const char *password);

/** @brief Changes the network parameters of the device with that MAC text, proving its admin password. */
VEXO_API int VEXO_ModifyDeviceNetParam(const char *macAddress, const char *password, const DeviceNetParam *param);

/**
 * @brief Queries device data. Commands VEXO_GET_KEY_V1 and VEXO_GET_KEY_V2 fill a key buffer
 * (VEXO_KEY_BUFFER or VEXO_KEY_BUFFER_V2) with the device's printable reset key material.
 * @param in, inLen  unused by the key commands (null, 0).
 * @param out, outLen the key buffer and its whole size (260 or 388).
 */
VEXO_API int VEXO_GetDeviceConfig(const char *serialNumber, uint32_t command, const void *in, uint32_t inLen, void *out,
                                  uint32_t outLen);

/** @brief Resets the administrator password with a typed reset key or a reset file signed by the maker. */
VEXO_API int VEXO_ResetPasswd(const char *serialNumber, const VEXO_RESET_PARAM *param);

/**
 * @brief Restores the factory default password with a security code from the maker's service
 * (at most VEXO_MAX_SECURITY_CODE_LEN bytes).
 */
VEXO_API int VEXO_ResetDefaultPasswd(const char *serialNumber, const char *securityCode);

/** @brief The error code of the calling thread's last failed call (VEXO_NOERROR after a success). */
VEXO_API uint32_t VEXO_GetLastError(void);

#ifdef __cplusplus
}
#endif
