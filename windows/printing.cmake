# Printing on Windows: the printers, the GDI surface and TRACE.
list(APPEND ZUVPRINT_WINDOWS_BACKEND
)
list(APPEND ZUVPRINT_WINDOWS_TESTS
)
