# Runs a scenario on a live PostgreSQL database: SETUP runs on the server PG_DIR, the engine project
# TEMPLATE (with @PG_DIR@ filled in) goes to DRIVES/C/Work/Live/live.wkv on the simulated drives the
# scenario names with `# args: --drives ...`, then tests/scenarios/run_scenario.cmake runs it.
execute_process(COMMAND ${CMAKE_COMMAND} -E env PGPASSWORD=nimbpw
  psql -q -X -h ${PG_DIR} -p 5439 -U nimb -d nimbtest -v ON_ERROR_STOP=1 -f ${SETUP}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the scenario's database could not be set up: ${err}")
endif()
file(REMOVE_RECURSE ${DRIVES})
configure_file(${TEMPLATE} ${DRIVES}/C/Work/Live/live.wkv @ONLY)
include(${RUNNER})
