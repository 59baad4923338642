"""The Python host of examples/python: documents built, read, saved and
refused through the C interface with ctypes. Run with ORVJSON_LIBRARY set."""
import math
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "examples", "python"))
import orvjson  # noqa: E402


class PythonHost(unittest.TestCase):
    def test_a_document_built_in_python_reads_back_and_round_trips_a_file(self):
        with orvjson.Document() as doc:
            doc.set_int("count", 3)
            doc.set_string("name", "Zürich\0kept")
            doc.set_doubles("readings", [0.1, 2.5, -1e300])
            self.assertEqual(doc.get_int("count"), 3)
            self.assertEqual(doc.get_string("name"), "Zürich\0kept")
            self.assertEqual(doc.get_doubles("readings"), [0.1, 2.5, -1e300])
            with tempfile.TemporaryDirectory() as folder:
                path = os.path.join(folder, "Jürgen-日本.json")
                doc.save(path)
                with orvjson.Document() as loaded:
                    loaded.load_file(path)
                    self.assertEqual(loaded.text(), doc.text())
                    self.assertEqual(loaded.tags(), [("count", 32), ("name", 1024), ("readings", 4)])

    def test_refusals_raise_with_the_libraries_codes_and_places(self):
        with orvjson.Document('{"a": 1,\n "b": 2.5}') as doc:
            with self.assertRaises(orvjson.OrvJsonError) as refused:
                doc.get_int("b")
            self.assertEqual(refused.exception.code, 4)  # ORVJSON_WRONG_KIND
            with self.assertRaises(orvjson.OrvJsonError) as missing:
                doc.get_double("c")
            self.assertEqual(missing.exception.code, orvjson.NOT_FOUND)
            with self.assertRaises(orvjson.OrvJsonError) as broken:
                doc.load_text('{"a": 1,\n "b": 2,,}')
            self.assertIn("2:9: Missing a name for object member.", str(broken.exception))
            self.assertEqual(len(doc), 2)  # the failed load left it as it was
            doc.set_double("nan", math.nan)
            with self.assertRaises(orvjson.OrvJsonError) as no_text:
                doc.text()
            self.assertEqual(no_text.exception.code, 12)  # ORVJSON_NO_TEXT
        released = orvjson.Document()
        handle = released.handle
        released.release()
        self.assertEqual(orvjson._release(handle), 1)  # ORVJSON_BAD_HANDLE: a double release is refused

    def test_the_version_is_the_projects(self):
        self.assertEqual(orvjson.version(), os.environ["ORVJSON_EXPECTED_VERSION"])


if __name__ == "__main__":
    unittest.main()
