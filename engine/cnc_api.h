/* The engine's call interface: flat C functions over instance handles 1..255.
 *
 * Calling order: CncSetFontPath once; per program CncOpen, CncSetToolRadius for tools
 * 0..254, CncRun, then CncGetMessages, CncGetCount and CncGetElement; CncClose at the end.
 * Texts are zero-terminated UTF-8. Not safe for concurrent calls.
 *
 * No entry point lets an exception or a crash-worthy failure through: an internal failure
 * (such as running out of memory) returns CNC_INTERNAL_ERROR and, when the handle names an
 * instance, adds one message to it. A failed CncOpen leaves no instance and hands out
 * handle 0.
 *
 * CncOpen's result is a line count, and a program may have 816 or 817 lines: tell an open
 * failure by the handle (0: no instance), never by the number alone. */
#ifndef VELQUOR_CNC_API_H
#define VELQUOR_CNC_API_H

#include <stddef.h>
#include <stdint.h>

/* The library exports these entry points and nothing else: it is built with hidden
 * visibility, and this marks what stays visible. */
#if defined(__GNUC__)
#define VELQUOR_CNC_API __attribute__((visibility("default")))
#else
#define VELQUOR_CNC_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 1)
typedef struct TCncPoint {
  double X, Y, Z;
} TCncPoint;

/* One element of the contour (mode 0) or the milling path (mode 1), 68 bytes packed. */
typedef struct TCncElementData {
  int32_t Line; /* N number of the program line, 0 without one */
  int32_t Code; /* letter * 256 + number: "G01" is 0x4701, "F0X" is 0x4600 */
  TCncPoint P1; /* end point of a move, position of a point element */
  TCncPoint P2; /* arcs: centre relative to the arc's start point */
  int32_t ToolNo;
  int32_t Speed;
  int32_t FeedValue;
} TCncElementData;
#pragma pack(pop)

/* Status codes. */
enum {
  CNC_OK = 0,
  CNC_NO_INSTANCE_RUN = 815,
  CNC_NO_FREE_HANDLE = 816,
  CNC_INSTANCE_LOST = 817,
  CNC_INTERNAL_ERROR = 818, /* an unexpected failure inside the engine, e.g. out of memory */
  CNC_ELEMENT_LIMIT = 819,  /* the run made more elements than its limit and stopped */
  CNC_EMPTY_PROGRAM = 850,
  CNC_DEFAULT_ELEMENT_LIMIT = 25000000
};

/* The tool radii of a new instance until CncSetToolRadius: tools 1 to 6 have 10 mm (in
 * thousandths of a millimetre, as CncSetToolRadius takes them), every other tool 0. */
enum { CNC_DEFAULT_TOOL_RADIUS = 10000, CNC_DEFAULT_RADIUS_FIRST_TOOL = 1, CNC_DEFAULT_RADIUS_LAST_TOOL = 6 };

/* The lists read by CncGetCount and CncGetElement. */
enum {
  CNC_MODE_CONTOUR = 0, /* the programmed contour */
  CNC_MODE_PATH = 1     /* the milling path, with cutter radius compensation */
};

/* Further results of CncRun: the milling path found no program code, or stopped where the
 * offsets of two moves have no joint point (named after the two moves: LINE a G01 or G00,
 * CW a G02, CCW a G03). The run's messages name the program line. */
enum {
  CNC_NO_PROGRAM_CODE = -5,
  CNC_STOP_LINE_LINE = 10,
  CNC_STOP_LINE_CCW = 12,
  CNC_STOP_CCW_LINE = 14,
  CNC_STOP_CW_CW = 15,
  CNC_STOP_CW_CCW = 16,
  CNC_STOP_CCW_CCW = 17,
  CNC_STOP_CCW_CW = 18
};

/* The message list of an instance: read with CncMessageCount and CncMessageText.
 * It stays owned by the instance and is valid until CncClose. */
typedef struct TCncMessageList TCncMessageList;

VELQUOR_CNC_API int32_t CncSetFontPath(const char* folder);
/* Returns the number of program lines, 816 when no handle is free, 817 when the new
 * instance is lost, 818 on an internal failure; the three failures give handle 0. A file
 * that is missing, unreadable or not a regular file (a folder, FIFO or device) opens with
 * 0 lines and a message giving the reason. */
VELQUOR_CNC_API int32_t CncOpen(const char* fileName, int32_t* handle);
/* Largest number of elements one CncRun may make over the contour, raw path and milling
 * path lists (default CNC_DEFAULT_ELEMENT_LIMIT). Past it the run stops with
 * CNC_ELEMENT_LIMIT, one message "Error: the program makes more than N elements; the run
 * stopped at program line L" (L the line of the file, or the N number when the milling
 * path stopped) and the lists as far as they got. 0; 1 for a handle of no instance; -2 for
 * a limit below 1. */
VELQUOR_CNC_API int32_t CncSetLimit(int32_t handle, int64_t maxElements);
/* Radius in thousandths of a millimetre. 0, or 1 for a handle of no instance. */
VELQUOR_CNC_API int32_t CncSetToolRadius(int32_t handle, uint8_t tool, int32_t radius);
/* 0, -5, a stopping compensation error (10, 12, 14..18, CNC_STOP_*), 850 for an empty program,
 * 815 for a handle of no instance, 818 on an internal failure, 819 when the element limit
 * stopped the run. The messages are bounded: after 100000 further ones are counted and one
 * closing message says how many were left out. */
VELQUOR_CNC_API int32_t CncRun(int32_t handle, const TCncPoint* start);
/* Mode CNC_MODE_CONTOUR (0): contour, CNC_MODE_PATH (1): milling path. 0 for a handle of no instance or a bad mode. */
VELQUOR_CNC_API int32_t CncGetCount(int32_t handle, uint8_t mode);
/* 0 and the record filled; -1 no instance; 1 bad mode; -2 index outside 0..count-1. */
VELQUOR_CNC_API int32_t CncGetElement(int32_t handle, int32_t index, uint8_t mode, TCncElementData* element);
/* The unit of the F words of the last run, which the elements carry as written:
 * CNC_FEED_INCH when a G20 is in force at the end of the first program line with an F word
 * (at the end of the program without one), else CNC_FEED_MILLIMETRE, also before a run;
 * -1 for a handle of no instance. */
enum { CNC_FEED_MILLIMETRE = 0, CNC_FEED_INCH = 1 };
VELQUOR_CNC_API int32_t CncGetFeedUnit(int32_t handle);
/* NULL for a handle of no instance. */
VELQUOR_CNC_API const TCncMessageList* CncGetMessages(int32_t handle);
VELQUOR_CNC_API int32_t CncMessageCount(const TCncMessageList* list);
/* NULL when the index is outside 0..count-1. */
VELQUOR_CNC_API const char* CncMessageText(const TCncMessageList* list, int32_t index);

/* Where a message comes from: the line of the program file, counted from 1, that it is about
 * (for a stop of the milling path, the line of the move where it stopped); 0 for a message
 * tied to no line ("Init CNC-Dll", the summaries of a run); -1 when the index is outside
 * 0..count-1 or the list is NULL. */
VELQUOR_CNC_API int32_t CncMessageLine(const TCncMessageList* list, int32_t index);

/* A run seen whole, for tools that show what the engine made (velquor-cnc dump): each
 * element with its code as written and its text, and besides modes 0 and 1 the raw path,
 * the tool moves before the milling path joins their corners. */
enum { CNC_MODE_RAW_PATH = 2 };
typedef struct TCncElementDetail {
  TCncElementData Data;
  char Code[4];     /* "G01", "F0X", "T": zero-terminated */
  const char* Text; /* the element's text; valid until the next CncRun or CncClose */
} TCncElementDetail;
/* Elements of mode 0, 1 or CNC_MODE_RAW_PATH; 0 for a handle of no instance or a bad mode
 * (unlike CncGetCount, without a message). */
VELQUOR_CNC_API int32_t CncGetDetailCount(int32_t handle, uint8_t mode);
/* 0 and the record filled; -1 no instance; 1 bad mode; -2 index outside 0..count-1. */
VELQUOR_CNC_API int32_t CncGetElementDetail(int32_t handle, int32_t index, uint8_t mode, TCncElementDetail* detail);

/* The line of the program file, counted from 1, that element `index` of list `mode` (0, 1 or
 * CNC_MODE_RAW_PATH) came from: the line of the command for every element of a cycle or an
 * engraving, the line of the programmed move for the milling path's offsets and joints.
 * -1 no instance; -3 bad mode; -2 index outside 0..count-1; -4 on an internal failure. */
VELQUOR_CNC_API int32_t CncGetElementFileLine(int32_t handle, int32_t index, uint8_t mode);

/* 0 when an instance was destroyed, 1 when none had the handle. */
VELQUOR_CNC_API int32_t CncClose(int32_t handle);

#ifdef __cplusplus
}

static_assert(sizeof(TCncPoint) == 24, "TCncPoint is 24 bytes");
static_assert(sizeof(TCncElementData) == 68, "TCncElementData is 68 bytes");
static_assert(offsetof(TCncElementData, Line) == 0);
static_assert(offsetof(TCncElementData, Code) == 4);
static_assert(offsetof(TCncElementData, P1) == 8);
static_assert(offsetof(TCncElementData, P2) == 32);
static_assert(offsetof(TCncElementData, ToolNo) == 56);
static_assert(offsetof(TCncElementData, Speed) == 60);
static_assert(offsetof(TCncElementData, FeedValue) == 64);
#else
_Static_assert(sizeof(TCncElementData) == 68, "TCncElementData is 68 bytes");
#endif

#endif
