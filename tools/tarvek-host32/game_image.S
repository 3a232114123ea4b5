# The game's image inside this program's own image. The linker puts input sections named .init
# first in .text, so this block starts one page above the module base, as the game's code does;
# with the module base at 0x00400000 every game offset from 0x1000 to 0x4A0000 lies inside it.
# The block is zero-filled: the host lays out the game's code sites, tables and data over it.
    .section .init,"xr"
    .globl _tarvekGameImage
    .globl _tarvekGameImageEnd
    .p2align 12
_tarvekGameImage:
    .fill 0x49F000, 1, 0
_tarvekGameImageEnd:
