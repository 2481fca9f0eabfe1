/* Built against the installed engine library: runs a program and prints its element count. */
#include <stdio.h>
#include <velquor/cnc_api.h>

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: count_elements PROGRAM FONTDIR/\n");
    return 2;
  }
  CncSetFontPath(argv[2]);
  int32_t handle = 0;
  const int32_t lines = CncOpen(argv[1], &handle);
  if (lines <= 0 || handle == 0) return 1;
  const TCncPoint start = {0.0, 0.0, 0.0};
  const int32_t run = CncRun(handle, &start);
  printf("%d contour elements, run %d\n", (int)CncGetCount(handle, CNC_MODE_CONTOUR), (int)run);
  CncClose(handle);
  return run == CNC_OK ? 0 : 1;
}
