<%
Dim conn
%>
