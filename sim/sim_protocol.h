/*
 * The simulated wheel: what its kernel driver (ZntSimWheel.sys) answers and
 * how tests talk to it. Shared by the driver (C, kernel mode), the setup
 * library and the tests (C++, user mode).
 *
 * The driver plays the wheel's own driver: it creates one device per wheel,
 * each reached through a DOS link named like the wheel's link name, and
 * answers the wheel's control codes on each of them. Beside the wheels it has
 * a private control device (SIM_CONTROL_LINK) whose METHOD_BUFFERED codes let
 * a test add and remove wheels, script the answers and read back the log of
 * every request that arrived on a wheel.
 *
 * All integers are little-endian; every structure has the same layout in C
 * and C++ and in user and kernel mode (fixed-width fields only, no padding).
 */
#ifndef ZENTRA_SIM_PROTOCOL_H
#define ZENTRA_SIM_PROTOCOL_H

#include <stddef.h>
#include <stdint.h>

/* --- The wheel's control codes ------------------------------------------ */

/* Parameter block: 2652 input bytes, 4-byte u32 result. Type 0x22,
 * function 0x801, METHOD_OUT_DIRECT. */
#define SIM_CODE_PARAMETER_BLOCK 0x222006u
/* Emulation switch: 8 input bytes (u32 selector, u32 enabled), 4-byte
 * result. Type 0x22, function 0x803, METHOD_OUT_DIRECT. */
#define SIM_CODE_EMULATION_SWITCH 0x22200Eu
/* Wheel report: no input, the 17-byte report as output. Type 0x04,
 * function 0x807, METHOD_IN_DIRECT. */
#define SIM_CODE_WHEEL_REPORT 0x4201Du
/* The emulation link's codes, sent by the tray loader: code 1 (no input,
 * METHOD_IN_DIRECT) and code 2 (4 input bytes: its main window's handle,
 * METHOD_OUT_DIRECT) when its main window is created, code 3 (no input,
 * METHOD_NEITHER) when that window is destroyed. Each has a 4-byte result. */
#define SIM_CODE_LINK_START 1u
#define SIM_CODE_LINK_WINDOW 2u
#define SIM_CODE_LINK_END 3u

#define SIM_WHEEL_CODE_COUNT 6

#define SIM_PARAMETER_BLOCK_SIZE 2652u
#define SIM_EMULATION_SWITCH_SIZE 8u
#define SIM_WHEEL_REPORT_SIZE 17u
#define SIM_LINK_WINDOW_INPUT_SIZE 4u
#define SIM_RESULT_SIZE 4u

/* The result word each code answers until a test sets another. */
#define SIM_DEFAULT_RESULT 1u

/* The transfer method of a control code: its two low bits. */
#define SIM_METHOD_BUFFERED 0u
#define SIM_METHOD_IN_DIRECT 1u
#define SIM_METHOD_OUT_DIRECT 2u
#define SIM_METHOD_NEITHER 3u
#define SIM_CODE_METHOD(code) ((code) & 3u)
#define SIM_CODE_DEVICE_TYPE(code) ((code) >> 16)
#define SIM_CODE_FUNCTION(code) (((code) >> 2) & 0xFFFu)

/* --- The control device -------------------------------------------------- */

/* Kernel and user names of the control device. */
#define SIM_CONTROL_DEVICE_NAME L"\\Device\\ZntSimControl"
#define SIM_CONTROL_DOS_NAME L"\\DosDevices\\ZntSimControl"
#define SIM_CONTROL_LINK "\\\\.\\ZntSimControl"

/* The service that loads the driver: the wheel driver's own service name. */
#define SIM_SERVICE_NAME "ZentraXP"
#define SIM_DRIVER_FILE "ZntSimWheel.sys"

/* Version of this protocol, answered by SIM_CTL_GET_STATUS. */
#define SIM_PROTOCOL_VERSION 0x00010000u

/* Wheels the driver holds at once; a wheel's index is 0..SIM_MAX_WHEELS-1. */
#define SIM_MAX_WHEELS 8u
/* Longest link name, "\\.\" included, without the terminator. */
#define SIM_MAX_LINK_NAME 119u
/* Requests the log keeps: the latest ones, older ones are dropped. */
#define SIM_LOG_CAPACITY 256u
/* Input bytes kept per request: a whole parameter block. */
#define SIM_LOG_INPUT_MAX SIM_PARAMETER_BLOCK_SIZE

/* Codes of the control device: device type 0x8A5E (customer range),
 * METHOD_BUFFERED, any access. */
#define SIM_CONTROL_DEVICE_TYPE 0x8A5Eu
#define SIM_CTL(function) ((SIM_CONTROL_DEVICE_TYPE << 16) | ((uint32_t)(function) << 2) | SIM_METHOD_BUFFERED)

/* Output SimStatus. */
#define SIM_CTL_GET_STATUS SIM_CTL(0x900)
/* Input SimAddWheel. Creates the wheel's device and its DOS link
 * "\DosDevices\<link name without \\.\>". */
#define SIM_CTL_ADD_WHEEL SIM_CTL(0x901)
/* No data. Deletes every wheel's link and device. */
#define SIM_CTL_REMOVE_WHEELS SIM_CTL(0x902)
/* No data. Empties the log and starts its sequence numbers at 1 again. */
#define SIM_CTL_CLEAR_LOG SIM_CTL(0x903)
/* Output SimLogCount. */
#define SIM_CTL_GET_LOG_COUNT SIM_CTL(0x904)
/* Input u32 index (0 = oldest entry kept), output SimLogEntry. */
#define SIM_CTL_GET_LOG_ENTRY SIM_CTL(0x905)
/* Input the 17-byte report that SIM_CODE_WHEEL_REPORT answers from now on. */
#define SIM_CTL_SET_REPORT SIM_CTL(0x906)
/* Input SimAnswer: how one wheel code is answered from now on. */
#define SIM_CTL_SET_ANSWER SIM_CTL(0x907)
/* No data. Every code answers SIM_DEFAULT_RESULT again and the report is the
 * resting wheel (SimDefaultReport below). */
#define SIM_CTL_RESET_ANSWERS SIM_CTL(0x908)
/* Output the 17-byte report that SIM_CODE_WHEEL_REPORT answers now; not
 * logged, so that test input devices can follow the wheel. */
#define SIM_CTL_GET_REPORT SIM_CTL(0x909)

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SimStatus {
    uint32_t version;      /* SIM_PROTOCOL_VERSION */
    uint32_t wheelCount;   /* wheels present */
    uint32_t wheelMask;    /* bit i set: wheel i present */
    uint32_t logCount;     /* entries in the log */
    uint32_t logDropped;   /* entries dropped since the last clear */
    uint32_t logCapacity;  /* SIM_LOG_CAPACITY */
} SimStatus;

typedef struct SimAddWheel {
    uint32_t index;                        /* 0..SIM_MAX_WHEELS-1, not in use */
    char linkName[SIM_MAX_LINK_NAME + 1];  /* "\\.\..." with a terminator */
} SimAddWheel;

typedef struct SimLogCount {
    uint32_t count;    /* entries kept, at most SIM_LOG_CAPACITY */
    uint32_t dropped;  /* older entries dropped since the last clear */
} SimLogCount;

typedef struct SimAnswer {
    uint32_t code;    /* one of the six wheel codes */
    uint32_t result;  /* the u32 written to the output (not used by the report) */
    uint32_t status;  /* 0: succeed; else the NTSTATUS the request fails with */
} SimAnswer;

typedef struct SimLogEntry {
    uint32_t sequence;      /* 1 for the first request after a clear */
    uint32_t code;          /* control code */
    uint32_t wheel;         /* index of the wheel whose link it arrived on */
    uint32_t inputLength;   /* input bytes sent */
    uint32_t outputLength;  /* output bytes requested */
    uint32_t status;        /* NTSTATUS the driver completed it with */
    uint32_t information;   /* output bytes the driver answered */
    uint32_t storedLength;  /* input bytes kept below: min(inputLength, SIM_LOG_INPUT_MAX) */
    uint8_t input[SIM_LOG_INPUT_MAX];
} SimLogEntry;

#ifdef __cplusplus
}
#endif

/* The report of a wheel at rest: no button, axes (bytes 5, 6, 7) centred. */
#define SIM_DEFAULT_REPORT_INIT {0, 0, 0, 0, 0, 127, 127, 127, 0, 0, 0, 0, 0, 0, 0, 0, 0}

/* --- Layout checks ------------------------------------------------------- */

#ifdef __cplusplus
#define SIM_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define SIM_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

SIM_STATIC_ASSERT(SIM_CODE_DEVICE_TYPE(SIM_CODE_PARAMETER_BLOCK) == 0x22 &&
                      SIM_CODE_FUNCTION(SIM_CODE_PARAMETER_BLOCK) == 0x801 &&
                      SIM_CODE_METHOD(SIM_CODE_PARAMETER_BLOCK) == SIM_METHOD_OUT_DIRECT,
                  "parameter block code");
SIM_STATIC_ASSERT(SIM_CODE_DEVICE_TYPE(SIM_CODE_EMULATION_SWITCH) == 0x22 &&
                      SIM_CODE_FUNCTION(SIM_CODE_EMULATION_SWITCH) == 0x803 &&
                      SIM_CODE_METHOD(SIM_CODE_EMULATION_SWITCH) == SIM_METHOD_OUT_DIRECT,
                  "emulation switch code");
SIM_STATIC_ASSERT(SIM_CODE_DEVICE_TYPE(SIM_CODE_WHEEL_REPORT) == 0x04 &&
                      SIM_CODE_FUNCTION(SIM_CODE_WHEEL_REPORT) == 0x807 &&
                      SIM_CODE_METHOD(SIM_CODE_WHEEL_REPORT) == SIM_METHOD_IN_DIRECT,
                  "wheel report code");
SIM_STATIC_ASSERT(SIM_CODE_METHOD(SIM_CODE_LINK_START) == SIM_METHOD_IN_DIRECT &&
                      SIM_CODE_METHOD(SIM_CODE_LINK_WINDOW) == SIM_METHOD_OUT_DIRECT &&
                      SIM_CODE_METHOD(SIM_CODE_LINK_END) == SIM_METHOD_NEITHER,
                  "emulation link codes");
SIM_STATIC_ASSERT(SIM_CTL_GET_STATUS == 0x8A5E2400u, "control codes");
SIM_STATIC_ASSERT(sizeof(SimStatus) == 24, "SimStatus layout");
SIM_STATIC_ASSERT(sizeof(SimAddWheel) == 124, "SimAddWheel layout");
SIM_STATIC_ASSERT(sizeof(SimLogCount) == 8, "SimLogCount layout");
SIM_STATIC_ASSERT(sizeof(SimAnswer) == 12, "SimAnswer layout");
SIM_STATIC_ASSERT(offsetof(SimLogEntry, input) == 32, "SimLogEntry header");
SIM_STATIC_ASSERT(sizeof(SimLogEntry) == 32 + SIM_PARAMETER_BLOCK_SIZE, "SimLogEntry layout");
SIM_STATIC_ASSERT(SIM_LOG_CAPACITY >= 256, "log capacity");

#endif /* ZENTRA_SIM_PROTOCOL_H */
