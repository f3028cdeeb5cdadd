-- The database of the postgres_live scenario; the live tests' own schema goes first.
DROP SCHEMA IF EXISTS shop CASCADE;
DROP SCHEMA IF EXISTS scen CASCADE;
CREATE SCHEMA scen;
CREATE TABLE scen.items (id integer PRIMARY KEY, name text NOT NULL, qty integer DEFAULT 0);
COMMENT ON TABLE scen.items IS 'Things we sell';
INSERT INTO scen.items VALUES (1, 'bolt', 5), (2, 'nut', 50);
CREATE VIEW scen.low_stock AS SELECT id, name FROM scen.items WHERE qty < 10;
CREATE FUNCTION scen.item_count() RETURNS integer LANGUAGE plpgsql
  AS $$ BEGIN RETURN (SELECT count(*) FROM scen.items); END $$;
COMMENT ON FUNCTION scen.item_count() IS 'How many items';
CREATE PROCEDURE scen.tidy() LANGUAGE sql AS 'DELETE FROM scen.items WHERE qty < 0';
CREATE FUNCTION scen.audit() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RETURN NEW; END $$;
CREATE TRIGGER items_audit AFTER INSERT ON scen.items FOR EACH ROW EXECUTE FUNCTION scen.audit();
