/*
 * ZntSimWheel.sys: a kernel driver that stands in for the wheel's own driver
 * so that the real I/O path (CreateFileA on a wheel's link, DeviceIoControl
 * with the wheel's control codes) can be tested without a wheel.
 *
 * It keeps every request that arrives on a wheel in a log and answers each
 * wheel code with a scripted result word (the report code with a scripted
 * 17-byte report). A private control device adds and removes wheels, scripts
 * the answers and reads the log back (sim_protocol.h).
 *
 * It uses only basic ntoskrnl functions that Wine implements, since Wine runs
 * it in winedevice.exe: a call to one of the names that Wine leaves
 * unimplemented would abort the host process. Wine dispatches requests on one
 * thread; the spin lock keeps the shared state consistent wherever the driver
 * runs.
 */
#include <ntddk.h>

#include "sim_protocol.h"

/* Pool tag "ZnSW" as it reads in memory. */
#define SIM_POOL_TAG 0x57536E5Au

enum { KIND_CONTROL = 1, KIND_WHEEL = 2 };

typedef struct DeviceExtension {
    ULONG kind;
    ULONG wheel; /* wheel index, for KIND_WHEEL */
} DeviceExtension;

typedef struct Wheel {
    PDEVICE_OBJECT device;        /* NULL when the slot is free */
    UNICODE_STRING dosName;       /* \DosDevices\<link name>, allocated */
} Wheel;

static PDEVICE_OBJECT controlDevice;
static Wheel wheels[SIM_MAX_WHEELS];
/* Set while a control request adds or removes wheels: device creation cannot
 * run under the spin lock, and a second one at the same time is refused. */
static volatile LONG wheelsBusy;

/* Guards everything below. */
static KSPIN_LOCK lock;
static SimLogEntry* logEntries; /* ring of SIM_LOG_CAPACITY entries */
static ULONG logStart;          /* index of the oldest entry */
static ULONG logCount;
static ULONG logDropped;
static ULONG nextSequence;
static UCHAR report[SIM_WHEEL_REPORT_SIZE];
static SimAnswer answers[SIM_WHEEL_CODE_COUNT];

static const ULONG wheelCodes[SIM_WHEEL_CODE_COUNT] = {
    SIM_CODE_PARAMETER_BLOCK, SIM_CODE_EMULATION_SWITCH, SIM_CODE_WHEEL_REPORT,
    SIM_CODE_LINK_START,      SIM_CODE_LINK_WINDOW,      SIM_CODE_LINK_END,
};

/* Input bytes each code needs at least; more are accepted and logged. */
static const ULONG wheelCodeInput[SIM_WHEEL_CODE_COUNT] = {
    SIM_PARAMETER_BLOCK_SIZE, SIM_EMULATION_SWITCH_SIZE, 0, 0, SIM_LINK_WINDOW_INPUT_SIZE, 0,
};

static int codeSlot(ULONG code) {
    int i;
    for (i = 0; i < SIM_WHEEL_CODE_COUNT; ++i)
        if (wheelCodes[i] == code) return i;
    return -1;
}

static void resetAnswers(void) {
    static const UCHAR restingReport[SIM_WHEEL_REPORT_SIZE] = SIM_DEFAULT_REPORT_INIT;
    int i;
    for (i = 0; i < SIM_WHEEL_CODE_COUNT; ++i) {
        answers[i].code = wheelCodes[i];
        answers[i].result = SIM_DEFAULT_RESULT;
        answers[i].status = 0;
    }
    RtlCopyMemory(report, restingReport, sizeof report);
}

static NTSTATUS complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = NT_SUCCESS(status) ? information : 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

/* --- The log ------------------------------------------------------------- */

/* Appends one request; the caller holds the lock. When the ring is full the
 * oldest entry makes room. */
static void logRequest(ULONG code, ULONG wheel, const UCHAR* input, ULONG inputLength, ULONG outputLength,
                       NTSTATUS status, ULONG information) {
    SimLogEntry* entry;
    ULONG stored = inputLength < SIM_LOG_INPUT_MAX ? inputLength : SIM_LOG_INPUT_MAX;
    if (!input) stored = 0;
    if (logCount == SIM_LOG_CAPACITY) {
        logStart = (logStart + 1) % SIM_LOG_CAPACITY;
        --logCount;
        ++logDropped;
    }
    entry = &logEntries[(logStart + logCount) % SIM_LOG_CAPACITY];
    ++logCount;
    entry->sequence = ++nextSequence;
    entry->code = code;
    entry->wheel = wheel;
    entry->inputLength = inputLength;
    entry->outputLength = outputLength;
    entry->status = (ULONG)status;
    entry->information = information;
    entry->storedLength = stored;
    if (stored) RtlCopyMemory(entry->input, input, stored);
    if (stored < SIM_LOG_INPUT_MAX) RtlZeroMemory(entry->input + stored, SIM_LOG_INPUT_MAX - stored);
}

/* --- Wheel requests ------------------------------------------------------ */

/* Where a request's input and output are, by its transfer method. Wine sets
 * SystemBuffer even for a zero-length input and hands METHOD_NEITHER input as
 * a copy, so the lengths decide, not the pointers. */
static const UCHAR* inputBuffer(PIRP irp, PIO_STACK_LOCATION stack, ULONG code, ULONG length) {
    if (!length) return NULL;
    if (SIM_CODE_METHOD(code) == SIM_METHOD_NEITHER)
        return (const UCHAR*)stack->Parameters.DeviceIoControl.Type3InputBuffer;
    return (const UCHAR*)irp->AssociatedIrp.SystemBuffer;
}

static UCHAR* outputBuffer(PIRP irp, ULONG code, ULONG length) {
    if (!length) return NULL;
    switch (SIM_CODE_METHOD(code)) {
    case SIM_METHOD_BUFFERED: return (UCHAR*)irp->AssociatedIrp.SystemBuffer;
    case SIM_METHOD_NEITHER: return (UCHAR*)irp->UserBuffer;
    default:
        if (!irp->MdlAddress) return NULL;
        return (UCHAR*)MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority);
    }
}

static NTSTATUS wheelRequest(ULONG wheel, PIRP irp, PIO_STACK_LOCATION stack) {
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    const UCHAR* input = inputBuffer(irp, stack, code, inputLength);
    UCHAR* output = outputBuffer(irp, code, outputLength);
    int slot = codeSlot(code);
    NTSTATUS status;
    ULONG information = 0;
    KIRQL irql;

    KeAcquireSpinLock(&lock, &irql);
    if (slot < 0) {
        status = STATUS_INVALID_DEVICE_REQUEST;
    } else if (answers[slot].status) {
        status = (NTSTATUS)answers[slot].status;
    } else if (inputLength < wheelCodeInput[slot] || (wheelCodeInput[slot] && !input)) {
        status = STATUS_INVALID_PARAMETER;
    } else {
        ULONG size = code == SIM_CODE_WHEEL_REPORT ? SIM_WHEEL_REPORT_SIZE : SIM_RESULT_SIZE;
        if (outputLength < size || !output) {
            status = STATUS_BUFFER_TOO_SMALL;
        } else {
            if (code == SIM_CODE_WHEEL_REPORT) {
                RtlCopyMemory(output, report, SIM_WHEEL_REPORT_SIZE);
            } else {
                ULONG result = answers[slot].result;
                output[0] = (UCHAR)result;
                output[1] = (UCHAR)(result >> 8);
                output[2] = (UCHAR)(result >> 16);
                output[3] = (UCHAR)(result >> 24);
            }
            information = size;
            status = STATUS_SUCCESS;
        }
    }
    logRequest(code, wheel, input, inputLength, outputLength, status, information);
    KeReleaseSpinLock(&lock, irql);
    return complete(irp, status, information);
}

/* --- Wheels -------------------------------------------------------------- */

static void deleteWheel(Wheel* w) {
    if (!w->device) return;
    IoDeleteSymbolicLink(&w->dosName);
    RtlFreeUnicodeString(&w->dosName);
    IoDeleteDevice(w->device);
    w->device = NULL;
}

static void deleteAllWheels(void) {
    ULONG i;
    for (i = 0; i < SIM_MAX_WHEELS; ++i) deleteWheel(&wheels[i]);
}

/* Creates wheel `index` with the device \Device\ZntSimWheel<index> and the
 * link \DosDevices\<name> for the link name \\.\<name>. */
static NTSTATUS addWheel(const SimAddWheel* request) {
    static const char dosPrefix[] = "\\DosDevices\\";
    char dosText[sizeof dosPrefix + SIM_MAX_LINK_NAME];
    WCHAR deviceText[] = L"\\Device\\ZntSimWheel0";
    UNICODE_STRING deviceName;
    ANSI_STRING dosAnsi;
    const char* name = request->linkName;
    Wheel* w;
    PDEVICE_OBJECT device;
    DeviceExtension* extension;
    NTSTATUS status;
    ULONG length = 0, i;

    if (request->index >= SIM_MAX_WHEELS) return STATUS_INVALID_PARAMETER;
    w = &wheels[request->index];
    if (w->device) return STATUS_OBJECT_NAME_COLLISION;

    while (length <= SIM_MAX_LINK_NAME && name[length]) ++length;
    if (length > SIM_MAX_LINK_NAME || length <= 4) return STATUS_OBJECT_NAME_INVALID;
    if (name[0] != '\\' || name[1] != '\\' || name[2] != '.' || name[3] != '\\') return STATUS_OBJECT_NAME_INVALID;
    for (i = 4; i < length; ++i)
        if (name[i] == '\\') return STATUS_OBJECT_NAME_INVALID;

    RtlCopyMemory(dosText, dosPrefix, sizeof dosPrefix - 1);
    RtlCopyMemory(dosText + sizeof dosPrefix - 1, name + 4, length - 4);
    dosText[sizeof dosPrefix - 1 + length - 4] = 0;

    deviceText[sizeof deviceText / sizeof deviceText[0] - 2] = (WCHAR)(L'0' + request->index);
    RtlInitUnicodeString(&deviceName, deviceText);
    status = IoCreateDevice(controlDevice->DriverObject, sizeof(DeviceExtension), &deviceName, FILE_DEVICE_UNKNOWN,
                            0, FALSE, &device);
    if (!NT_SUCCESS(status)) return status;
    extension = (DeviceExtension*)device->DeviceExtension;
    extension->kind = KIND_WHEEL;
    extension->wheel = request->index;

    RtlInitAnsiString(&dosAnsi, dosText);
    status = RtlAnsiStringToUnicodeString(&w->dosName, &dosAnsi, TRUE);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        return status;
    }
    status = IoCreateSymbolicLink(&w->dosName, &deviceName);
    if (!NT_SUCCESS(status)) {
        RtlFreeUnicodeString(&w->dosName);
        IoDeleteDevice(device);
        return status;
    }
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    w->device = device;
    DbgPrint("ZntSimWheel: wheel %u at %s\n", (unsigned)request->index, dosText);
    return STATUS_SUCCESS;
}

/* --- Control requests ---------------------------------------------------- */

static NTSTATUS controlRequest(PIRP irp, PIO_STACK_LOCATION stack) {
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    void* buffer = irp->AssociatedIrp.SystemBuffer; /* input, then output */
    NTSTATUS status = STATUS_SUCCESS;
    ULONG_PTR information = 0;
    KIRQL irql;

    switch (code) {
    case SIM_CTL_GET_STATUS: {
        SimStatus s;
        ULONG i;
        if (outputLength < sizeof s || !buffer) return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
        RtlZeroMemory(&s, sizeof s);
        s.version = SIM_PROTOCOL_VERSION;
        s.logCapacity = SIM_LOG_CAPACITY;
        for (i = 0; i < SIM_MAX_WHEELS; ++i) {
            if (!wheels[i].device) continue;
            ++s.wheelCount;
            s.wheelMask |= 1u << i;
        }
        KeAcquireSpinLock(&lock, &irql);
        s.logCount = logCount;
        s.logDropped = logDropped;
        KeReleaseSpinLock(&lock, irql);
        RtlCopyMemory(buffer, &s, sizeof s);
        information = sizeof s;
        break;
    }
    case SIM_CTL_ADD_WHEEL: {
        SimAddWheel request;
        if (inputLength < sizeof request || !buffer) return complete(irp, STATUS_INVALID_PARAMETER, 0);
        RtlCopyMemory(&request, buffer, sizeof request);
        if (InterlockedCompareExchange(&wheelsBusy, 1, 0) != 0) return complete(irp, STATUS_DEVICE_BUSY, 0);
        status = addWheel(&request);
        InterlockedExchange(&wheelsBusy, 0);
        break;
    }
    case SIM_CTL_REMOVE_WHEELS:
        if (InterlockedCompareExchange(&wheelsBusy, 1, 0) != 0) return complete(irp, STATUS_DEVICE_BUSY, 0);
        deleteAllWheels();
        InterlockedExchange(&wheelsBusy, 0);
        DbgPrint("ZntSimWheel: every wheel removed\n");
        break;
    case SIM_CTL_CLEAR_LOG:
        KeAcquireSpinLock(&lock, &irql);
        logStart = logCount = logDropped = nextSequence = 0;
        KeReleaseSpinLock(&lock, irql);
        break;
    case SIM_CTL_GET_LOG_COUNT: {
        SimLogCount c;
        if (outputLength < sizeof c || !buffer) return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
        KeAcquireSpinLock(&lock, &irql);
        c.count = logCount;
        c.dropped = logDropped;
        KeReleaseSpinLock(&lock, irql);
        RtlCopyMemory(buffer, &c, sizeof c);
        information = sizeof c;
        break;
    }
    case SIM_CTL_GET_LOG_ENTRY: {
        ULONG index;
        if (inputLength < sizeof index || !buffer) return complete(irp, STATUS_INVALID_PARAMETER, 0);
        if (outputLength < sizeof(SimLogEntry)) return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
        RtlCopyMemory(&index, buffer, sizeof index);
        KeAcquireSpinLock(&lock, &irql);
        if (index < logCount) {
            RtlCopyMemory(buffer, &logEntries[(logStart + index) % SIM_LOG_CAPACITY], sizeof(SimLogEntry));
            information = sizeof(SimLogEntry);
        } else {
            status = STATUS_NO_MORE_ENTRIES;
        }
        KeReleaseSpinLock(&lock, irql);
        break;
    }
    case SIM_CTL_SET_REPORT:
        if (inputLength != SIM_WHEEL_REPORT_SIZE || !buffer) return complete(irp, STATUS_INVALID_PARAMETER, 0);
        KeAcquireSpinLock(&lock, &irql);
        RtlCopyMemory(report, buffer, SIM_WHEEL_REPORT_SIZE);
        KeReleaseSpinLock(&lock, irql);
        break;
    case SIM_CTL_GET_REPORT:
        if (outputLength < SIM_WHEEL_REPORT_SIZE || !buffer) return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
        KeAcquireSpinLock(&lock, &irql);
        RtlCopyMemory(buffer, report, SIM_WHEEL_REPORT_SIZE);
        KeReleaseSpinLock(&lock, irql);
        information = SIM_WHEEL_REPORT_SIZE;
        break;
    case SIM_CTL_SET_ANSWER: {
        SimAnswer answer;
        int slot;
        if (inputLength < sizeof answer || !buffer) return complete(irp, STATUS_INVALID_PARAMETER, 0);
        RtlCopyMemory(&answer, buffer, sizeof answer);
        slot = codeSlot(answer.code);
        if (slot < 0) return complete(irp, STATUS_INVALID_PARAMETER, 0);
        KeAcquireSpinLock(&lock, &irql);
        answers[slot] = answer;
        KeReleaseSpinLock(&lock, irql);
        break;
    }
    case SIM_CTL_RESET_ANSWERS:
        KeAcquireSpinLock(&lock, &irql);
        resetAnswers();
        KeReleaseSpinLock(&lock, irql);
        break;
    default:
        status = STATUS_INVALID_DEVICE_REQUEST;
        break;
    }
    return complete(irp, status, information);
}

/* --- Dispatch, load and unload ------------------------------------------ */

static NTSTATUS NTAPI dispatchCreateClose(PDEVICE_OBJECT device, PIRP irp) {
    (void)device;
    return complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI dispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    const DeviceExtension* extension = (const DeviceExtension*)device->DeviceExtension;
    if (extension->kind == KIND_CONTROL) return controlRequest(irp, stack);
    return wheelRequest(extension->wheel, irp, stack);
}

static VOID NTAPI driverUnload(PDRIVER_OBJECT driver) {
    UNICODE_STRING dosName;
    (void)driver;
    deleteAllWheels();
    RtlInitUnicodeString(&dosName, SIM_CONTROL_DOS_NAME);
    IoDeleteSymbolicLink(&dosName);
    if (controlDevice) IoDeleteDevice(controlDevice);
    controlDevice = NULL;
    if (logEntries) ExFreePoolWithTag(logEntries, SIM_POOL_TAG);
    logEntries = NULL;
    DbgPrint("ZntSimWheel: unloaded\n");
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
    UNICODE_STRING deviceName, dosName;
    DeviceExtension* extension;
    NTSTATUS status;
    (void)registryPath;

    KeInitializeSpinLock(&lock);
    resetAnswers();
    logEntries = (SimLogEntry*)ExAllocatePoolWithTag(NonPagedPool, sizeof(SimLogEntry) * SIM_LOG_CAPACITY,
                                                     SIM_POOL_TAG);
    if (!logEntries) return STATUS_INSUFFICIENT_RESOURCES;

    RtlInitUnicodeString(&deviceName, SIM_CONTROL_DEVICE_NAME);
    status = IoCreateDevice(driver, sizeof(DeviceExtension), &deviceName, FILE_DEVICE_UNKNOWN, 0, FALSE,
                            &controlDevice);
    if (!NT_SUCCESS(status)) {
        ExFreePoolWithTag(logEntries, SIM_POOL_TAG);
        logEntries = NULL;
        return status;
    }
    extension = (DeviceExtension*)controlDevice->DeviceExtension;
    extension->kind = KIND_CONTROL;
    extension->wheel = 0;

    RtlInitUnicodeString(&dosName, SIM_CONTROL_DOS_NAME);
    status = IoCreateSymbolicLink(&dosName, &deviceName);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(controlDevice);
        controlDevice = NULL;
        ExFreePoolWithTag(logEntries, SIM_POOL_TAG);
        logEntries = NULL;
        return status;
    }

    driver->MajorFunction[IRP_MJ_CREATE] = dispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = dispatchCreateClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = dispatchDeviceControl;
    driver->DriverUnload = driverUnload;
    DbgPrint("ZntSimWheel: loaded, protocol %x\n", SIM_PROTOCOL_VERSION);
    return STATUS_SUCCESS;
}
