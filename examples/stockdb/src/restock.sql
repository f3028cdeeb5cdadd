CREATE PROCEDURE restock (IN amount INTEGER)
LANGUAGE SQL
BEGIN
  UPDATE stock SET quantity = quantity + amount WHERE quantity < 100;
END
