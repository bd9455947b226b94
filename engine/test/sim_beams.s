; The beams (beams.s) under C names for sim65 tests.
.import beams_start, beams_find, beam_map
.export _beams_start := beams_start, _beams_find := beams_find, _beam_map := beam_map
