// The nine audio functions the music player calls, with the arguments it passes: one output
// device, music streams from Ogg Vorbis files, seeking, volume and a 512-sample spectrum.
// Positions in bytes count 16-bit stereo at the device rate. Main thread only.
#pragma once

#include <cstdint>
#include <string>

// 32 bits on every system. On Windows it must be the very type <windows.h> declares, which
// reaches the same files through <GL/gl.h>.
#ifdef _WIN32
typedef unsigned long DWORD;
#else
typedef uint32_t DWORD;
#endif
typedef uint64_t QWORD;
typedef int BOOL;
typedef DWORD HSTREAM;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// GetData request: magnitudes of a 512-sample FFT, 256 floats.
constexpr DWORD BASS_DATA_FFT512 = 0x80000000u;

// Device 1 (or -1) is the default output device; the window is not needed here.
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* win, const void* dsguid);
// Only files (mem FALSE), whole (offset and length 0); 0 when the file cannot be decoded.
HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags);
// Starts the stream and the output; flush drops what was decoded ahead of the listener.
BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD flags);
// (QWORD)-1 for an unknown handle or a negative time.
QWORD BASS_ChannelSeconds2Bytes(DWORD handle, float pos);
BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos);
// For BASS_DATA_FFT512 writes 256 floats and returns their size in bytes; (DWORD)-1 otherwise.
DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length);
// 0 to 100 percent; larger values are refused.
BOOL BASS_SetVolume(DWORD volume);
BOOL BASS_Stop();
// Stops everything and releases the device and every stream; harmless without BASS_Init.
BOOL BASS_Free();

// Not one of the nine: ": " and why the last BASS_Init or BASS_StreamCreateFile failed, in the
// words of SDL or of the music decoder; empty after a success and where neither said why.
const std::string& audioFailureReason();
