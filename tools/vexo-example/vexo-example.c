// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
//
// vexo-example: the smallest complete program on the discovery library's C interface, and the
// place to start a program of your own. It lists the devices (as a table or JSON), changes one
// device's IPv4 parameters, prints a device's reset key material and resets a password with the
// reset key the maker's service gives for it. Plain C: Vexo.h and the C library, plus a sleep
// and a lock from the platform.
//
//   vexo-example [--log DIR] [--wait MS] list [--json]
//   vexo-example [--log DIR] [--wait MS] modify MAC PASSWORD IPV4 MASK GATEWAY
//   vexo-example [--log DIR] [--wait MS] key SERIAL
//   vexo-example [--log DIR] [--wait MS] reset SERIAL NEWPASSWORD RESETKEY
//
// VEXO_SCOPE=loopback keeps every datagram on 127.0.0.1 (tests and demos); see Vexo.h.
#include "Vexo.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#if defined(_WIN32)
#    include <windows.h>
typedef CRITICAL_SECTION Lock;
static void lockInit(Lock *l)
{
    InitializeCriticalSection(l);
}
static void lockTake(Lock *l)
{
    EnterCriticalSection(l);
}
static void lockGive(Lock *l)
{
    LeaveCriticalSection(l);
}
static void sleepMs(int ms)
{
    Sleep((DWORD)ms);
}
#else
#    include <pthread.h>
#    include <time.h>
typedef pthread_mutex_t Lock;
static void lockInit(Lock *l)
{
    pthread_mutex_init(l, NULL);
}
static void lockTake(Lock *l)
{
    pthread_mutex_lock(l);
}
static void lockGive(Lock *l)
{
    pthread_mutex_unlock(l);
}
static void sleepMs(int ms)
{
    struct timespec t = {ms / 1000, (long)(ms % 1000) * 1000000L};
    nanosleep(&t, NULL);
}
#endif

#define MAX_DEVICES 1024

// The devices reported so far. The callback runs on the library's thread, so the list is
// shared with main() under a lock.
static struct
{
    Lock lock;
    VEXO_DEVICE_INFO devices[MAX_DEVICES];
    int count;
} g_list;

// The record's text fields need not end in a NUL: copy one into a terminated buffer.
static const char *text(const char *field, size_t size, char *out)
{
    size_t n = 0;
    while (n < size && field[n])
        ++n;
    memcpy(out, field, n);
    out[n] = '\0';
    return out;
}
#define FIELD_TEXT(record, member, buffer) text((record)->member, sizeof(record)->member, buffer)

static int sameDevice(const VEXO_DEVICE_INFO *a, const VEXO_DEVICE_INFO *b)
{
    return strncmp(a->macAddress, b->macAddress, sizeof a->macAddress) == 0;
}

static void VEXO_CALLBACK onDevice(const VEXO_DEVICE_INFO *device, void *userData)
{
    (void)userData;
    lockTake(&g_list.lock);
    int i = 0;
    while (i < g_list.count && !sameDevice(&g_list.devices[i], device))
        ++i;
    if (device->eventCode == VEXO_EVENT_OFFLINE) {
        if (i < g_list.count)
            g_list.devices[i] = g_list.devices[--g_list.count];
    } else if (i < g_list.count) {
        g_list.devices[i] = *device;
    } else if (g_list.count < MAX_DEVICES) {
        g_list.devices[g_list.count++] = *device;
    }
    lockGive(&g_list.lock);
}

// Copies the device with that serial number or MAC into *out once it has been reported.
static int findDevice(const char *id, VEXO_DEVICE_INFO *out)
{
    char serial[sizeof out->serialNumber + 1], mac[sizeof out->macAddress + 1];
    int found = 0;
    lockTake(&g_list.lock);
    for (int i = 0; i < g_list.count && !found; ++i) {
        const VEXO_DEVICE_INFO *d = &g_list.devices[i];
        if (strcmp(FIELD_TEXT(d, serialNumber, serial), id) == 0 || strcmp(FIELD_TEXT(d, macAddress, mac), id) == 0) {
            *out = *d;
            found = 1;
        }
    }
    lockGive(&g_list.lock);
    return found;
}

static int waitForDevice(const char *id, int waitMs, VEXO_DEVICE_INFO *out)
{
    for (int waited = 0;; waited += 50) {
        if (findDevice(id, out))
            return 1;
        if (waited >= waitMs) {
            fprintf(stderr, "device %s did not answer within %d ms\n", id, waitMs);
            return 0;
        }
        sleepMs(50);
    }
}

static int failed(const char *what)
{
    fprintf(stderr, "%s failed: error %u\n", what, (unsigned)VEXO_GetLastError());
    return 1;
}

// Writes a field as a JSON string; the library's texts are ASCII, anything else is escaped.
static void printJsonText(const char *name, const char *value, int last)
{
    printf("    \"%s\": \"", name);
    for (const unsigned char *c = (const unsigned char *)value; *c; ++c) {
        if (*c == '"' || *c == '\\')
            printf("\\%c", *c);
        else if (*c < 0x20 || *c > 0x7e)
            printf("\\u%04x", *c);
        else
            putchar(*c);
    }
    printf("\"%s\n", last ? "" : ",");
}

static void printList(int json)
{
    char serial[49], mac[21], ipv4[17], mask[17], gateway[17], type[25], version[49];
    lockTake(&g_list.lock);
    if (!json)
        printf("%-32s %-18s %-15s %-6s %-13s %s\n", "Serial Number", "MAC", "IPv4", "Port", "State", "Type");
    else
        printf("[");
    for (int i = 0; i < g_list.count; ++i) {
        const VEXO_DEVICE_INFO *d = &g_list.devices[i];
        FIELD_TEXT(d, serialNumber, serial);
        FIELD_TEXT(d, macAddress, mac);
        FIELD_TEXT(d, ipv4Address, ipv4);
        FIELD_TEXT(d, deviceTypeText, type);
        if (!json) {
            printf("%-32s %-18s %-15s %-6u %-13s %s\n", serial, mac, ipv4, (unsigned)d->port,
                   d->inactive ? "Not activated" : "Activated", type);
            continue;
        }
        printf("%s\n  {\n", i ? "," : "");
        printJsonText("serialNumber", serial, 0);
        printJsonText("mac", mac, 0);
        printJsonText("deviceType", type, 0);
        printJsonText("ipv4Address", ipv4, 0);
        printJsonText("ipv4SubnetMask", FIELD_TEXT(d, ipv4SubnetMask, mask), 0);
        printJsonText("ipv4Gateway", FIELD_TEXT(d, ipv4Gateway, gateway), 0);
        printJsonText("softwareVersion", FIELD_TEXT(d, softwareVersion, version), 0);
        printf("    \"port\": %u,\n    \"httpPort\": %u,\n", (unsigned)d->port, (unsigned)d->httpPort);
        printf("    \"dhcp\": %s,\n", d->dhcpEnabled ? "true" : "false");
        printf("    \"activated\": %s,\n", d->inactive ? "false" : "true");
        printf("    \"verified\": %s\n  }", (d->identityFlags & VEXO_IDENTITY_VERIFIED) ? "true" : "false");
    }
    if (json)
        printf("%s]\n", g_list.count ? "\n" : "");
    lockGive(&g_list.lock);
}

// Copies text into a fixed field of the interface; refuses text that does not fit.
static int put(char *field, size_t size, const char *value, const char *what)
{
    const size_t n = strlen(value);
    if (n >= size) {
        fprintf(stderr, "%s is too long\n", what);
        return 0;
    }
    memset(field, 0, size);
    memcpy(field, value, n);
    return 1;
}

// New IPv4 parameters with DHCP off; ports and IPv6 stay as the device reports them.
static int modify(const VEXO_DEVICE_INFO *d, const char *password, char **ipv4)
{
    DeviceNetParam p;
    memset(&p, 0, sizeof p);
    if (!put(p.ipv4Address, sizeof p.ipv4Address, ipv4[0], "the IPv4 address")
        || !put(p.ipv4SubnetMask, sizeof p.ipv4SubnetMask, ipv4[1], "the subnet mask")
        || !put(p.ipv4Gateway, sizeof p.ipv4Gateway, ipv4[2], "the gateway"))
        return 2;
    memcpy(p.ipv6Address, d->ipv6Address, sizeof d->ipv6Address);
    memcpy(p.ipv6Gateway, d->ipv6Gateway, sizeof d->ipv6Gateway);
    p.ipv6PrefixLength = d->ipv6PrefixLength;
    p.port = (uint16_t)d->port;
    p.httpPort = d->httpPort;
    p.dhcpEnabled = 0;
    char mac[sizeof d->macAddress + 1];
    return VEXO_ModifyDeviceNetParam(FIELD_TEXT(d, macAddress, mac), password, &p) ? 0 : failed("modify");
}

// Prints the key material to hand to the maker's service; newer devices use the newer scheme.
static int printKey(const VEXO_DEVICE_INFO *d)
{
    VEXO_KEY_BUFFER_V2 key; // large enough for either scheme
    memset(&key, 0, sizeof key);
    const int newer = (d->keyFormatFlags & VEXO_KEYFMT_NEW) != 0;
    const uint32_t size = newer ? (uint32_t)sizeof(VEXO_KEY_BUFFER_V2) : (uint32_t)sizeof(VEXO_KEY_BUFFER);
    char serial[sizeof d->serialNumber + 1];
    if (!VEXO_GetDeviceConfig(FIELD_TEXT(d, serialNumber, serial), newer ? VEXO_GET_KEY_V2 : VEXO_GET_KEY_V1, NULL, 0,
                              &key, size))
        return failed("key");
    if (key.length > sizeof key.data) {
        fputs("key: the library reported more key material than its buffer holds\n", stderr);
        return 1;
    }
    printf("%.*s\n", (int)key.length, key.data);
    return 0;
}

static int resetPassword(const VEXO_DEVICE_INFO *d, const char *password, const char *resetKey)
{
    static VEXO_RESET_PARAM p; // 1 KiB, zeroed: no key file
    memset(&p, 0, sizeof p);
    // Both fields are full-width: a key or password of exactly their size needs no terminator.
    if (strlen(resetKey) > sizeof p.secretKey || strlen(password) > sizeof p.password) {
        fputs("reset: the reset key or the password is too long\n", stderr);
        return 2;
    }
    memcpy(p.secretKey, resetKey, strlen(resetKey));
    memcpy(p.password, password, strlen(password));
    char serial[sizeof d->serialNumber + 1];
    return VEXO_ResetPasswd(FIELD_TEXT(d, serialNumber, serial), &p) ? 0 : failed("reset");
}

static int usage(void)
{
    fputs("usage: vexo-example [--log DIR] [--wait MS] list [--json]\n"
          "       vexo-example [--log DIR] [--wait MS] modify MAC PASSWORD IPV4 MASK GATEWAY\n"
          "       vexo-example [--log DIR] [--wait MS] key SERIAL\n"
          "       vexo-example [--log DIR] [--wait MS] reset SERIAL NEWPASSWORD RESETKEY\n",
          stderr);
    return 2;
}

int main(int argc, char **argv)
{
    const char *logDir = NULL;
    int waitMs = 2000;
    int a = 1;
    for (; a + 1 < argc && strncmp(argv[a], "--", 2) == 0; a += 2) {
        if (strcmp(argv[a], "--log") == 0)
            logDir = argv[a + 1];
        else if (strcmp(argv[a], "--wait") == 0)
            waitMs = atoi(argv[a + 1]);
        else
            return usage();
    }
    if (a >= argc || waitMs < 0)
        return usage();
    const char *command = argv[a];
    const int operands = argc - a - 1;
    char **operand = argv + a + 1;
    const int json = strcmp(command, "list") == 0 && operands == 1 && strcmp(operand[0], "--json") == 0;
    if (!((strcmp(command, "list") == 0 && (operands == 0 || json)) || (strcmp(command, "modify") == 0 && operands == 5)
          || (strcmp(command, "key") == 0 && operands == 1) || (strcmp(command, "reset") == 0 && operands == 3)))
        return usage();

    // The log (level 4: every datagram) goes to DIR/vexo.log; the path is in the system's code page.
    if (logDir && !VEXO_SetLogToFile(4, logDir, 1))
        return failed("log");
    lockInit(&g_list.lock);
    if (!VEXO_Start_V30(onDevice, VEXO_START_AUTO_INQUIRY, NULL))
        return failed("start");

    int rc = 0;
    VEXO_DEVICE_INFO device;
    if (strcmp(command, "list") == 0) {
        sleepMs(waitMs);
        VEXO_Stop(); // no callback runs after this: the list is final
        printList(json);
        return 0;
    }
    if (!waitForDevice(operand[0], waitMs, &device))
        rc = 1;
    else if (strcmp(command, "modify") == 0)
        rc = modify(&device, operand[1], operand + 2);
    else if (strcmp(command, "key") == 0)
        rc = printKey(&device);
    else
        rc = resetPassword(&device, operand[1], operand[2]);
    VEXO_Stop();
    return rc;
}
