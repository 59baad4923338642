"""OrvJson from Python, through its C interface with ctypes (no build step).

    from orvjson import Document
    with Document() as doc:
        doc.set_int("count", 3)
        doc.set_string("name", "Zürich")
        print(doc.text())               # {"count":3,"name":"Zürich"}
        doc.save("out.json")

Every failure raises OrvJsonError, which carries the library's result code
and its text. The library is found through ORVJSON_LIBRARY (a path), or by
the system's usual search for liborvjson.so.0 / orvjson.dll.
"""
import ctypes
import os
import sys

_handle = ctypes.c_ssize_t  # orvjson_handle: intptr_t
_size = ctypes.c_size_t
_result = ctypes.c_int32

OK, NOT_FOUND, BUFFER_TOO_SMALL = 0, 3, 11


def _load_library():
    path = os.environ.get("ORVJSON_LIBRARY")
    if not path:
        path = "orvjson.dll" if sys.platform == "win32" else "liborvjson.so.0"
    return ctypes.CDLL(path)


_lib = _load_library()


def _declare(name, *arguments, result=_result):
    function = getattr(_lib, name)
    function.argtypes = list(arguments)
    function.restype = result
    return function


_text_out = (ctypes.c_char_p, _size, ctypes.POINTER(_size))
_key = (ctypes.c_char_p, _size)
_version = _declare("orvjson_version", result=ctypes.c_char_p)
_result_text = _declare("orvjson_result_text", _result, result=ctypes.c_char_p)
_create = _declare("orvjson_create", ctypes.POINTER(_handle))
_release = _declare("orvjson_release", _handle)
_members = _declare("orvjson_members", _handle, ctypes.POINTER(_size))
_load_text = _declare("orvjson_load_text", _handle, ctypes.c_char_p, _size)
_load_file = _declare("orvjson_load_file", _handle, ctypes.c_char_p, _size, ctypes.POINTER(ctypes.c_int32))
_load_error = _declare("orvjson_load_error", _handle, ctypes.POINTER(_size), ctypes.POINTER(_size),
                       ctypes.POINTER(_size), ctypes.POINTER(ctypes.c_char_p))
_text = _declare("orvjson_text", _handle, *_text_out)
_save_file = _declare("orvjson_save_file", _handle, ctypes.c_char_p, _size)
_set_int = _declare("orvjson_set_int", _handle, *_key, ctypes.c_int32)
_set_double = _declare("orvjson_set_double", _handle, *_key, ctypes.c_double)
_set_string = _declare("orvjson_set_string", _handle, *_key, ctypes.c_char_p, _size)
_set_double_array = _declare("orvjson_set_double_array", _handle, *_key, ctypes.POINTER(ctypes.c_double), _size)
_get_int = _declare("orvjson_get_int", _handle, *_key, ctypes.POINTER(ctypes.c_int32))
_get_double = _declare("orvjson_get_double", _handle, *_key, ctypes.POINTER(ctypes.c_double))
_get_string = _declare("orvjson_get_string", _handle, *_key, *_text_out)
_get_double_array = _declare("orvjson_get_double_array", _handle, *_key, ctypes.POINTER(ctypes.c_double), _size,
                             ctypes.POINTER(_size))
_tag_at = _declare("orvjson_tag_at", _handle, _size, *_text_out, ctypes.POINTER(ctypes.c_int32))


def version():
    return _version().decode()


class OrvJsonError(Exception):
    """A call the library refused: code is its result, the message its text."""

    def __init__(self, code, detail=""):
        self.code = code
        text = _result_text(code).decode()
        super().__init__(f"{text}{': ' + detail if detail else ''}")


def _check(code, detail=""):
    if code != OK:
        raise OrvJsonError(code, detail)


def _bytes(text):
    return text.encode("utf-8") if isinstance(text, str) else bytes(text)


def _read(call):
    """Bytes a function gives into a buffer: asked for their size first."""
    length = _size(0)
    code = call(None, 0, ctypes.byref(length))
    if code == OK:
        return b""
    if code != BUFFER_TOO_SMALL:
        _check(code)
    buffer = ctypes.create_string_buffer(length.value + 1)
    _check(call(buffer, len(buffer), ctypes.byref(length)))
    return buffer.raw[:length.value]


class Document:
    """One JSON document; a context manager that releases it."""

    def __init__(self, text=None):
        handle = _handle(0)
        _check(_create(ctypes.byref(handle)))
        self.handle = handle.value
        if text is not None:
            self.load_text(text)

    def release(self):
        if self.handle:
            _check(_release(self.handle))
            self.handle = 0

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.release()

    def __len__(self):
        count = _size(0)
        _check(_members(self.handle, ctypes.byref(count)))
        return count.value

    def load_text(self, text):
        data = _bytes(text)
        code = _load_text(self.handle, data, len(data))
        if code != OK:
            offset, line, column, message = _size(), _size(), _size(), ctypes.c_char_p()
            _load_error(self.handle, ctypes.byref(offset), ctypes.byref(line), ctypes.byref(column),
                        ctypes.byref(message))
            _check(code, f"{line.value}:{column.value}: {message.value.decode()}")

    def load_file(self, path):
        data = _bytes(os.fsdecode(path))
        has_bom = ctypes.c_int32(0)
        _check(_load_file(self.handle, data, len(data), ctypes.byref(has_bom)))

    def text(self):
        return _read(lambda buffer, capacity, length: _text(self.handle, buffer, capacity, length)).decode("utf-8")

    def save(self, path):
        data = _bytes(os.fsdecode(path))
        _check(_save_file(self.handle, data, len(data)))

    def set_int(self, key, value):
        key = _bytes(key)
        _check(_set_int(self.handle, key, len(key), value))

    def set_double(self, key, value):
        key = _bytes(key)
        _check(_set_double(self.handle, key, len(key), value))

    def set_string(self, key, value):
        key, value = _bytes(key), _bytes(value)
        _check(_set_string(self.handle, key, len(key), value, len(value)))

    def set_doubles(self, key, values):
        key = _bytes(key)
        array = (ctypes.c_double * max(len(values), 1))(*values)
        _check(_set_double_array(self.handle, key, len(key), array, len(values)))

    def get_int(self, key):
        key, value = _bytes(key), ctypes.c_int32()
        _check(_get_int(self.handle, key, len(key), ctypes.byref(value)))
        return value.value

    def get_double(self, key):
        key, value = _bytes(key), ctypes.c_double()
        _check(_get_double(self.handle, key, len(key), ctypes.byref(value)))
        return value.value

    def get_string(self, key):
        key = _bytes(key)
        return _read(lambda buffer, capacity, length: _get_string(self.handle, key, len(key), buffer, capacity,
                                                                   length)).decode("utf-8")

    def get_doubles(self, key):
        key, count = _bytes(key), _size(0)
        code = _get_double_array(self.handle, key, len(key), None, 0, ctypes.byref(count))
        if code not in (OK, BUFFER_TOO_SMALL):
            _check(code)
        array = (ctypes.c_double * max(count.value, 1))()
        _check(_get_double_array(self.handle, key, len(key), array, count.value, ctypes.byref(count)))
        return list(array[:count.value])

    def tags(self):
        """(name, type code) of every member, or of every element of an array."""
        entries = []
        for index in range(len(self)):
            code = ctypes.c_int32()
            name = _read(lambda buffer, capacity, length: _tag_at(self.handle, index, buffer, capacity, length,
                                                                  ctypes.byref(code)))
            entries.append((name.decode("utf-8", "surrogateescape"), code.value))
        return entries
