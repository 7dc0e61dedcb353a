"""The listener's reading of Orca's debug file and of scenarios: python3 -m unittest orca_listen_test (from here)."""
import tempfile
import unittest
from pathlib import Path

from orca_listen import OrcaLog, Timing, listen, read_scenario, utterances

ACSS = "{'established': False}"


class ReadingOrcasSpeech(unittest.TestCase):
    def test_texts_echoes_voices_and_broken_lines(self):
        lines = [f"10:00:00.1 - SPEECH OUTPUT: 'It's player blues turn'{ACSS}",
                 "10:00:00.2 - SPEECH: Last spoke 0.1 seconds ago",
                 f"10:00:00.3 - SPEECH OUTPUT: 'space ' {ACSS}",
                 f"10:00:00.4 - SPEECH OUTPUT: 'File' voice=uppercase{ACSS}",
                 "10:00:00.5 - SPEECH OUTPUT: 'Two",
                 f"{' ' * 18}lines'{ACSS}",
                 "10:00:00.6 - SPEECH OUTPUT: 'said during say all'",
                 "10:00:00.7 - SPEECH OUTPUT: unreadable"]
        self.assertEqual(utterances(lines), [("It's player blues turn", False), ("space", True), ("File", False),
                                             ("Two\nlines", False), ("said during say all", False),
                                             ("unreadable", False)])

    def test_a_line_or_character_still_being_written_waits_for_its_end(self):
        with tempfile.TemporaryDirectory() as folder:
            path = Path(folder) / "debug.log"
            log = OrcaLog(path)
            self.assertEqual(log.new_lines(), [])
            path.write_bytes("first\nsec\u00f6".encode()[:-1])  # cut inside the last character
            self.assertEqual(log.new_lines(), ["first"])
            with open(path, "ab") as file:
                file.write("\u00f6ond\n".encode()[1:])
            self.assertEqual(log.new_lines(), ["sec\u00f6ond"])

    def test_listening_takes_everything_said_and_gives_up_on_silence(self):
        timing = Timing(quiet=0.1, limit=5)
        with tempfile.TemporaryDirectory() as folder:
            path = Path(folder) / "debug.log"
            path.write_text(f"SPEECH OUTPUT: 'one'{ACSS}\nother\nSPEECH OUTPUT: 'two'{ACSS}\n")
            log = OrcaLog(path)
            self.assertEqual(listen(log, timing, first=0.1), [("one", False), ("two", False)])
            self.assertEqual(listen(log, timing, first=0.1), [])


class ReadingScenarios(unittest.TestCase):
    def read(self, text):
        with tempfile.TemporaryDirectory() as folder:
            (Path(folder) / "scenario").write_text(text)
            return read_scenario(Path(folder) / "scenario")

    def test_steps_with_and_without_expectations(self):
        steps = self.read("# comment\n\nstart | start | frame\nopen | key alt+f | ^New game | again\nmove | key Up\n")
        self.assertEqual([(s.name, s.action, s.expect and s.expect.pattern, s.again) for s in steps],
                         [("start", "start", "frame", False), ("open", "key alt+f", "^New game", True),
                          ("move", "key Up", None, False)])

    def test_speech_expected_once_is_missed_when_repeated(self):
        step = self.read("ask | key Return | ^Do you want | once\n")[0]
        for said, heard, repeated in ((["Tessarin.", "Do you want?", "Yes push button."], True, False),
                                      (["Do you want?", "Yes push button.", "Do you want?"], False, True),
                                      (["Yes push button."], False, False)):
            step.utterances = [(text, False) for text in said]
            self.assertEqual((step.heard(), step.repeated()), (heard, repeated), said)

    def test_malformed_steps_are_refused_with_their_line(self):
        for text in ("no action\n", "name |\n", "| key b\n", "a | key b | c | twice\n", "a | b | c | again | e\n"):
            with self.assertRaisesRegex(SystemExit, ":1: expected"):
                self.read(text)


if __name__ == "__main__":
    unittest.main()
