# cmake -DSOURCE=<unpacked src/ folder> -DRELEASE=<2.0.0|2.2.1> -DEMULATION=<this folder>
#       -P prepare_source.cmake
# Swaps the emulated cartridge into a copy of the tool's source in the build tree: our
# cartridge in place of the protocol layer (backup/telvo.c), and the port's privilege request
# and I/O instructions routed to it (misc/parallel.c). Each replaced text must be found
# exactly as released, or the build stops.
cmake_minimum_required(VERSION 3.20)

file(READ ${EMULATION}/cartridge.c cartridge)
if(RELEASE STREQUAL "2.0.0")
  set(cartridge "#define TELVO_PORT_TYPE unsigned int\n${cartridge}")
endif()
file(WRITE ${SOURCE}/backup/telvo.c "${cartridge}")

set(parallel_file ${SOURCE}/misc/parallel.c)
file(READ ${parallel_file} parallel)

function(replace_once from to)
  string(FIND "${parallel}" "${from}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${parallel_file}: not found as released:\n${from}")
  endif()
  string(REPLACE "${from}" "${to}" replaced "${parallel}")
  set(parallel "${replaced}" PARENT_SCOPE)
endfunction()

replace_once("  if (iopl (3) == -1)" "  if (telvo_port_iopl (3) == -1)")
replace_once("  __asm__ __volatile__\n  (\"inb %1, %0\"\n    : \"=a\" (byte)\n    : \"d\" (port)\n  );"
             "  byte = telvo_port_in_byte (port);")
replace_once("  __asm__ __volatile__\n  (\"inw %1, %0\"\n    : \"=a\" (word)\n    : \"d\" (port)\n  );"
             "  word = telvo_port_in_word (port);")
replace_once("  __asm__ __volatile__\n  (\"outb %1, %0\"\n    :\n    : \"d\" (port), \"a\" (byte)\n  );"
             "  telvo_port_out_byte (port, byte);")
replace_once("  __asm__ __volatile__\n  (\"outw %1, %0\"\n    :\n    : \"d\" (port), \"a\" (word)\n  );"
             "  telvo_port_out_word (port, word);")
file(WRITE ${parallel_file}
  "/* Test build: the port goes to the emulated cartridge (backup/telvo.c). */\n"
  "extern int telvo_port_iopl (int level);\n"
  "extern unsigned char telvo_port_in_byte (unsigned short port);\n"
  "extern unsigned short telvo_port_in_word (unsigned short port);\n"
  "extern void telvo_port_out_byte (unsigned short port, unsigned char byte);\n"
  "extern void telvo_port_out_word (unsigned short port, unsigned short word);\n"
  "${parallel}")

# 2.0.0's snapshot lacks two patch formats' option tables, which its option list names.
if(RELEASE STREQUAL "2.0.0")
  foreach(table pal4u xps)
    string(TOUPPER ${table} guard)
    file(WRITE ${SOURCE}/patch/${table}.h
      "/* Empty stand-in (test build): this format's options are not offered. */\n"
      "#ifndef ${guard}_H\n#define ${guard}_H\n"
      "extern const st_getopt2_t ${table}_usage[];\n#endif\n")
    file(WRITE ${SOURCE}/patch/${table}.c
      "/* Empty stand-in (test build): this format's options are not offered. */\n"
      "#include <stddef.h>\n#include \"misc/getopt2.h\"\n#include \"${table}.h\"\n"
      "const st_getopt2_t ${table}_usage[] = {{NULL, 0, 0, 0, NULL, NULL, NULL}};\n")
  endforeach()
endif()
