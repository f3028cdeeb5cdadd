-- The live SQLite database of the demo, made afresh by `./dev demo` (sqlite3 stock.db < stock.sql).
CREATE TABLE warehouses (
  id    INTEGER PRIMARY KEY,
  city  TEXT NOT NULL
);
CREATE TABLE stock (
  item_id      INTEGER NOT NULL,
  warehouse_id INTEGER NOT NULL REFERENCES warehouses(id),
  quantity     INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (item_id, warehouse_id)
);
CREATE TABLE stock_log (
  item_id   INTEGER,
  change    INTEGER,
  logged_at TEXT DEFAULT CURRENT_TIMESTAMP
);
CREATE VIEW low_stock AS
  SELECT s.item_id, w.city, s.quantity FROM stock s JOIN warehouses w ON w.id = s.warehouse_id
  WHERE s.quantity < 100;
CREATE VIEW stock_by_city AS
  SELECT w.city, SUM(s.quantity) AS quantity FROM stock s JOIN warehouses w ON w.id = s.warehouse_id
  GROUP BY w.city;
CREATE TRIGGER stock_logged AFTER UPDATE OF quantity ON stock
BEGIN
  INSERT INTO stock_log (item_id, change) VALUES (NEW.item_id, NEW.quantity - OLD.quantity);
END;
CREATE TRIGGER warehouse_kept BEFORE DELETE ON warehouses
WHEN EXISTS (SELECT 1 FROM stock WHERE warehouse_id = OLD.id)
BEGIN
  SELECT RAISE(ABORT, 'the warehouse still holds stock');
END;
INSERT INTO warehouses VALUES (1, 'Leeds'), (2, 'Bristol');
INSERT INTO stock VALUES (1001, 1, 1200), (1002, 1, 40), (1003, 2, 75), (1001, 2, 300);
