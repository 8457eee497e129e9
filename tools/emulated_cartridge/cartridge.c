/*
The emulated Telvo cartridge that the real tool drives in our tests. The test build puts this
file in place of the tool's cartridge protocol layer (backup/telvo.c, the tlv_* functions), and
the tool's port code calls the telvo_port_* functions below instead of the I/O instructions, so
the tool runs as released, with only the hardware emulated.

The cartridge is two files in the folder UCON64_HOME names (the current directory when unset),
the ones the cartridge simulator keeps too:
  telvo-sim-flash.bin  the 64 Mbit flash (8 MiB) as the console reads it: the ROM as given
                       when the tool wrote it well; erased flash reads 0xFF
  telvo-sim-sram.bin   the 256 KiB SRAM at the addresses the tool sends; it writes every save
                       byte twice, so slot N's 32 KiB lie in the 64 KiB from (N - 1) * 32 KiB
Both come into being (erased flash, zeroed SRAM) the first time a cartridge answers. The flash
is an Intel-style 64 Mbit chip (ID 0x8917) with 128 KiB blocks: programming only clears bits,
so a block the tool did not erase shows it. Addresses past the end wrap around.

The cartridge answers at port 0x378 (TELVO_CARTRIDGE_PORT, in hexadecimal, moves it). Nothing
answers at other ports, or at all with TELVO_SIM_NO_CARTRIDGE=1: reads give 0xFF, as a floating
bus does, and writes go nowhere.

Our own code: it copies nothing from the tool.
*/
#ifdef  HAVE_CONFIG_H
#include "config.h"
#endif
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include "misc/parallel.h"
#include "telvo.h"

/* The port parameter's type differs between releases; the test build says which. */
#ifndef TELVO_PORT_TYPE
#define TELVO_PORT_TYPE unsigned short
#endif

#ifdef  USE_PARALLEL

#define FLASH_SIZE (8 * 1024 * 1024)
#define FLASH_BLOCK (128 * 1024)
#define SRAM_SIZE (256 * 1024)
#define CHIP_ID 0x8917
#define DEFAULT_PORT 0x378

/* Which chip the select register (register 6) enables. */
#define SELECT_ROM 0x04
#define SELECT_RAM 0x08

static unsigned char *flash, *sram;
static int answers, selected;

extern int telvo_port_iopl (int level);
extern unsigned char telvo_port_in_byte (unsigned short port);
extern unsigned short telvo_port_in_word (unsigned short port);
extern void telvo_port_out_byte (unsigned short port, unsigned char byte);
extern void telvo_port_out_word (unsigned short port, unsigned short word);


static void
fail (const char *what, const char *file)
{
  fprintf (stderr, "ERROR: emulated cartridge: %s %s: %s\n", what, file, strerror (errno));
  exit (1);
}


/* Maps file (created or grown to size, new bytes set to fill) into memory; writes reach the
   file at once, so they stay whatever way the tool ends. */
static unsigned char *
map_file (const char *folder, const char *name, size_t size, unsigned char fill)
{
  char path[4096];
  unsigned char chunk[4096];
  struct stat st;
  void *mem;
  int fd;

  snprintf (path, sizeof path, "%s/%s", folder, name);
  fd = open (path, O_RDWR | O_CREAT, 0644);
  if (fd == -1 || fstat (fd, &st) == -1)
    fail ("cannot open", path);
  memset (chunk, fill, sizeof chunk);
  if (lseek (fd, st.st_size, SEEK_SET) == -1)
    fail ("cannot seek in", path);
  for (; (size_t) st.st_size < size; st.st_size += sizeof chunk)
    if (write (fd, chunk, sizeof chunk) != (ssize_t) sizeof chunk)
      fail ("cannot write", path);
  mem = mmap (NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (mem == MAP_FAILED)
    fail ("cannot map", path);
  close (fd);
  return (unsigned char *) mem;
}


static unsigned short
cartridge_port (void)
{
  const char *value = getenv ("TELVO_CARTRIDGE_PORT");
  return value && *value ? (unsigned short) strtoul (value, NULL, 16) : DEFAULT_PORT;
}


void
tlv_init_io (TELVO_PORT_TYPE port)
{
  const char *home = getenv ("UCON64_HOME"), *off = getenv ("TELVO_SIM_NO_CARTRIDGE");

  parport_print_info ();
  answers = port == cartridge_port () && !(off && strcmp (off, "1") == 0);
  if (!answers || flash)
    return;
  if (!home || !*home)
    home = ".";
  flash = map_file (home, "telvo-sim-flash.bin", FLASH_SIZE, 0xff);
  sram = map_file (home, "telvo-sim-sram.bin", SRAM_SIZE, 0x00);
}


void
tlv_deinit_io (void)
{
  selected = 0;
}


/* The console reads the flash's two byte lanes the other way round from the port: the tool
   swaps each word before writing it byte by byte, and this undoes it. */
static unsigned char *
flash_byte (int addr)
{
  return &flash[(addr ^ 1) & (FLASH_SIZE - 1)];
}


static void
program (int addr, unsigned char b)
{
  if (answers && selected == SELECT_ROM)
    *flash_byte (addr) &= b;
}


static void
store_ram (int addr, unsigned char b)
{
  if (answers && selected == SELECT_RAM)
    sram[addr & (SRAM_SIZE - 1)] = b;
}


void
tlv_set_ai_data (unsigned char ai, unsigned char data)
{
  if (ai == 6)
    selected = data & (SELECT_ROM | SELECT_RAM);
}


void
tlv_rom_enable (void)
{
  selected = SELECT_ROM;
}


void
tlv_rom_disable (void)
{
  selected = 0;
}


void
tlv_ram_enable (void)
{
  selected = SELECT_RAM;
}


void
tlv_ram_disable (void)
{
  selected = 0;
}


/* With the flash selected a write is a command to the chip (reset, read ID, clear status),
   which changes no byte; with the SRAM selected it stores the byte. */
void
tlv_write_mem (int addr, unsigned char b)
{
  store_ram (addr, b);
}


unsigned short
tlv_get_id (void)
{
  return answers ? CHIP_ID : 0xffff;
}


void
tlv_read_rom_b (int addr, unsigned char *buf)
{
  int i;

  for (i = 0; i < 0x100; i++)
    buf[i] = answers ? *flash_byte (addr + i) : 0xff;
}


/* Word reads deliver the bytes in the console's order. */
void
tlv_read_rom_w (int addr, unsigned char *buf)
{
  int i;

  for (i = 0; i < 0x100; i++)
    buf[i] = answers ? flash[(addr + i) & (FLASH_SIZE - 1)] : 0xff;
}


void
tlv_read_ram_b (int addr, unsigned char *buf)
{
  int i;

  for (i = 0; i < 0x100; i++)
    buf[i] = answers ? sram[(addr + i) & (SRAM_SIZE - 1)] : 0xff;
}


void
tlv_read_ram_w (int addr, unsigned char *buf)
{
  tlv_read_ram_b (addr, buf);
}


void
tlv_erase_block (int addr)
{
  if (answers)
    memset (&flash[addr & (FLASH_SIZE - 1) & ~(FLASH_BLOCK - 1)], 0xff, FLASH_BLOCK);
}


void
tlv_write_byte_sharp (int addr, unsigned char b)
{
  tlv_rom_enable ();
  program (addr, b);
  tlv_rom_disable ();
}


void
tlv_write_byte_intel (int addr, unsigned char b)
{
  tlv_write_byte_sharp (addr, b);
}


/* 32 bytes from addr; buf holds a 16 KiB chunk that addr indexes modulo its size. */
void
tlv_write_page_rom (int addr, unsigned char *buf)
{
  int i;

  tlv_rom_enable ();
  for (i = 0; i < 0x20; i++)
    program (addr + i, buf[(addr + i) & 0x3fff]);
  tlv_rom_disable ();
}


void
tlv_write_byte_ram (int addr, unsigned char b)
{
  tlv_ram_enable ();
  store_ram (addr, b);
  tlv_ram_disable ();
}


void
tlv_write_page_ram (int addr, unsigned char *buf)
{
  int i;

  tlv_ram_enable ();
  for (i = 0; i < 0x100; i++)
    store_ram (addr + i, buf[(addr + i) & 0x3fff]);
  tlv_ram_disable ();
}


/* 128 bytes from addr, each stored twice from SRAM address 2 * addr on. */
void
tlv_write_page_ram2 (int addr, unsigned char *buf)
{
  int i;

  tlv_ram_enable ();
  for (i = 0; i < 0x80; i++)
    {
      store_ram (2 * (addr + i), buf[(addr + i) & 0x3fff]);
      store_ram (2 * (addr + i) + 1, buf[(addr + i) & 0x3fff]);
    }
  tlv_ram_disable ();
}


/* The port itself, as the tool's port code sees it: access is always granted, and the
   printer-port registers answer like a port with nothing special set. */
int
telvo_port_iopl (int level)
{
  (void) level;
  return 0;
}


unsigned char
telvo_port_in_byte (unsigned short port)
{
  (void) port;
  return 0xff;
}


unsigned short
telvo_port_in_word (unsigned short port)
{
  (void) port;
  return 0xffff;
}


void
telvo_port_out_byte (unsigned short port, unsigned char byte)
{
  (void) port;
  (void) byte;
}


void
telvo_port_out_word (unsigned short port, unsigned short word)
{
  (void) port;
  (void) word;
}

#endif // USE_PARALLEL
