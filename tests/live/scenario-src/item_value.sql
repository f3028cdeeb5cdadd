CREATE OR REPLACE FUNCTION scen.item_value(item integer) RETURNS integer
LANGUAGE sql AS 'SELECT qty * 2 FROM scen.items WHERE id = item';
