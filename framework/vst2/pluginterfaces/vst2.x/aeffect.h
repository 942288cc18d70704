// VST 2.4 plug-in binary interface, core record and opcodes.
// Written from the published binary layout. JUCE's wrapper includes this file inside
// `namespace Vst2 { }`, so it includes no system header and uses only built-in types.
#pragma once

#define kVstVersion 2400

#if defined(_WIN32)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

typedef int VstInt32;
typedef long long VstInt64;
typedef long long VstIntPtr;
typedef short VstInt16;

struct AEffect;

typedef VstIntPtr(VSTCALLBACK* audioMasterCallback)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                     VstIntPtr value, void* ptr, float opt);
typedef VstIntPtr(VSTCALLBACK* AEffectDispatcherProc)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                       VstIntPtr value, void* ptr, float opt);
typedef void(VSTCALLBACK* AEffectProcessProc)(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 sampleFrames);
typedef void(VSTCALLBACK* AEffectProcessDoubleProc)(AEffect* effect, double** inputs, double** outputs,
                                                    VstInt32 sampleFrames);
typedef void(VSTCALLBACK* AEffectSetParameterProc)(AEffect* effect, VstInt32 index, float parameter);
typedef float(VSTCALLBACK* AEffectGetParameterProc)(AEffect* effect, VstInt32 index);

#define kEffectMagic 0x56737450 /* 'VstP' */

struct AEffect
{
    VstInt32 magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process; // obsolete accumulating process
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 numInputs;
    VstInt32 numOutputs;
    VstInt32 flags;
    VstIntPtr resvd1;
    VstIntPtr resvd2;
    VstInt32 initialDelay;
    VstInt32 realQualities;
    VstInt32 offQualities;
    float ioRatio;
    void* object;
    void* user;
    VstInt32 uniqueID;
    VstInt32 version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

static_assert(sizeof(void*) != 8 || sizeof(AEffect) == 192, "AEffect must be 192 bytes on 64-bit");
static_assert(sizeof(void*) != 8 || __builtin_offsetof(AEffect, dispatcher) == 8, "AEffect layout");
static_assert(sizeof(void*) != 8 || __builtin_offsetof(AEffect, numPrograms) == 40, "AEffect layout");
static_assert(sizeof(void*) != 8 || __builtin_offsetof(AEffect, flags) == 56, "AEffect layout");
static_assert(sizeof(void*) != 8 || __builtin_offsetof(AEffect, initialDelay) == 80, "AEffect layout");
static_assert(sizeof(void*) != 8 || __builtin_offsetof(AEffect, ioRatio) == 92, "AEffect layout");
static_assert(sizeof(void*) != 8 || __builtin_offsetof(AEffect, object) == 96, "AEffect layout");
static_assert(sizeof(void*) != 8 || __builtin_offsetof(AEffect, uniqueID) == 112, "AEffect layout");
static_assert(sizeof(void*) != 8 || __builtin_offsetof(AEffect, processReplacing) == 120, "AEffect layout");
static_assert(sizeof(void*) != 8 || __builtin_offsetof(AEffect, processDoubleReplacing) == 128, "AEffect layout");

enum VstAEffectFlags
{
    effFlagsHasEditor = 1 << 0,
    effFlagsHasClip = 1 << 1,
    effFlagsHasVu = 1 << 2,
    effFlagsCanMono = 1 << 3,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsCanDoubleReplacing = 1 << 12
};

enum AEffectOpcodes
{
    effOpen = 0,
    effClose,
    effSetProgram,
    effGetProgram,
    effSetProgramName,
    effGetProgramName,
    effGetParamLabel,
    effGetParamDisplay,
    effGetParamName,
    effSetSampleRate = 10,
    effSetBlockSize,
    effMainsChanged,
    effEditGetRect,
    effEditOpen,
    effEditClose,
    effEditIdle = 19,
    effIdentify = 22,
    effGetChunk,
    effSetChunk
};

enum AudioMasterOpcodes
{
    audioMasterAutomate = 0,
    audioMasterVersion,
    audioMasterCurrentId,
    audioMasterIdle
};
