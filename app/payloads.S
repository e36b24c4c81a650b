/* Binary payloads linked into the program. Each is bracketed by a start and an end symbol. */
    .section .rodata
    .balign 16

    .macro payload name, file
    .global \name\()_start
    .global \name\()_end
\name\()_start:
    .incbin "\file"
\name\()_end:
    .byte 0
    .balign 16
    .endm

    payload preview_map2, "assets/previews/map2.jpg"
    payload preview_map3, "assets/previews/map3.jpg"
    payload preview_map4, "assets/previews/map4.jpg"
    payload preview_map5, "assets/previews/map5.jpg"
    payload preview_map6, "assets/previews/map6.jpg"
    payload preview_map7, "assets/previews/map7.jpg"
    payload preview_map8, "assets/previews/map8.jpg"
    payload preview_map9, "assets/previews/map9.jpg"
    payload preview_map10, "assets/previews/map10.jpg"
    payload preview_official, "assets/previews/official.jpg"

    .section .note.GNU-stack,"",@progbits
